#include "run_record.h"

#include <algorithm>

#include "report_text.h"

namespace vorlanex::tool {
namespace {

// Every digit a command carries: 1000101, never 1.0001e+06.
void printChange(std::FILE* out, int frame, double time, const std::string& name,
                 const std::string& change) {
  std::fprintf(out, "%5d  %7.3f  %-30s  %s", frame, time, name.c_str(), change.c_str());
}

}  // namespace

int RunRecord::failures() const {
  return static_cast<int>(
      std::count_if(events.begin(), events.end(), [](const StepEvent& e) { return !e.passed; }));
}

void RunRecord::forgetBefore(double time) {
  while (!writes.empty() && writes.front().time < time) {
    writes.pop_front();
    ++forgottenWrites;
  }
  while (!sentEvents.empty() && sentEvents.front().time < time) sentEvents.pop_front();
}

std::size_t RunRecord::moduleWrites() const {
  return static_cast<std::size_t>(std::count_if(writes.begin(), writes.end(), [](const VariableWrite& w) {
    return w.writer.kind == Writer::Kind::kModule;
  }));
}

std::string writerText(const Writer& writer) {
  const gauges::ScriptSite& site = writer.site;
  switch (writer.kind) {
    case Writer::Kind::kScript:
      return "the script, line " + std::to_string(site.line);
    case Writer::Kind::kGauge:
      return site.gauge + ", " + site.file + ":" + std::to_string(site.line);
    case Writer::Kind::kModule:
      break;
  }
  return "the module";
}

void printLogHeading(std::FILE* out, bool writers) {
  std::fprintf(out, "frame     time  variable                        old -> new%s\n",
               writers ? "   by" : "");
}

void printPageStep(std::FILE* out, const StepEvent& e) {
  std::fprintf(out, "%5d  %7.3f  page: %s\n", e.frame, e.time,
               stepText(*e.step, Digits::kShort).c_str());
}

void printWrite(std::FILE* out, const VariableWrite& w, bool writers) {
  printChange(out, w.frame, w.time, w.name,
              shortNumber(w.oldValue) + " -> " + shortNumber(w.newValue));
  std::fprintf(out, "%s\n", writers ? ("   by " + writerText(w.writer)).c_str() : "");
}

void printSentEvent(std::FILE* out, const SentEventRecord& sent) {
  printChange(out, sent.frame, sent.time, "K:" + sent.event, "sent " + shortNumber(sent.value));
  std::fprintf(out, "   by %s\n", writerText(sent.sender).c_str());
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
                   std::deque<VariableWrite>& out) {
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
                   name == lastLookup ? previousLookup : lastLookup, {}});
    values[id] = call.value;
  }
}

}  // namespace vorlanex::tool
