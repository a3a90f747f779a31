#include "run_record.h"

#include <algorithm>

#include "report_text.h"

namespace vorlanex::tool {

int RunRecord::failures() const {
  return static_cast<int>(
      std::count_if(events.begin(), events.end(), [](const StepEvent& e) { return !e.passed; }));
}

void printLogHeading(std::FILE* out) {
  std::fprintf(out, "frame     time  variable                        old -> new\n");
}

void printPageStep(std::FILE* out, const StepEvent& e) {
  std::fprintf(out, "%5d  %7.3f  page: %s\n", e.frame, e.time,
               stepText(*e.step, Digits::kShort).c_str());
}

void printWrite(std::FILE* out, const VariableWrite& w) {
  // Every digit a command carries: 1000101, never 1.0001e+06.
  std::fprintf(out, "%5d  %7.3f  %-30s  %s -> %s\n", w.frame, w.time, w.name.c_str(),
               shortNumber(w.oldValue).c_str(), shortNumber(w.newValue).c_str());
}

std::vector<double> variableValues(const host::NamedVariables& variables) {
  std::vector<double> values(variables.names().size());
  for (std::size_t id = 0; id < values.size(); ++id) {
    values[id] = variables.get(static_cast<std::int32_t>(id));
  }
  return values;
}

void collectWrites(const std::vector<host::HostCall>& calls, const host::NamedVariables& variables,
                   int frame, double time, std::vector<double>& values,
                   std::vector<VariableWrite>& out) {
  const std::vector<std::string>& names = variables.names();
  std::string lastLookup;
  std::string previousLookup;
  for (const host::HostCall& call : calls) {
    if (call.entry == abi::kLookupNamedVariable && call.name != lastLookup) {
      previousLookup = lastLookup;
      lastLookup = call.name;
    }
    if (call.entry != abi::kSetNamedVariableValue) continue;
    // The host ignores writes to an id it never handed out.
    if (call.id < 0 || static_cast<std::size_t>(call.id) >= names.size()) continue;
    const auto id = static_cast<std::size_t>(call.id);
    if (values.size() <= id) values.resize(id + 1, 0.0);
    const std::string& name = names[id];
    out.push_back({frame, time, name, values[id], call.value,
                   name == lastLookup ? previousLookup : lastLookup});
    values[id] = call.value;
  }
}

}  // namespace vorlanex::tool
