// Variable references resolved to slots once, when the script is compiled:
// a run reads and writes by number, never by name.
#include "compiler.h"
#include "event_table.h"
#include "name_typos.h"
#include "text_case.h"
#include "units.h"

namespace vorlanex::gauges {
namespace {

bool startsAsWrite(std::string_view written) {
  const size_t first = written.find_first_not_of("( \t\r\n");
  return first != std::string_view::npos && written[first] == '>';
}

// "Var1" to "Var9" in any case give 1 to 9; anything else 0.
int gaugeVariableIndex(std::string_view name) {
  if (name.size() != 4 || upperCase(name.substr(0, 3)) != "VAR") return 0;
  return name[3] >= '1' && name[3] <= '9' ? name[3] - '0' : 0;
}

// What a gauge sending `event` is told: an event the simulator lacks, or
// (once per run) one the aircraft does not simulate.
std::optional<std::string> eventFinding(SimulatedAircraft& aircraft, const std::string& event) {
  const TableEvent* known = findEvent(event);
  if (known == nullptr) {
    static const std::vector<std::string> names = [] {
      std::vector<std::string> all;
      for (const TableEvent& each : tableEvents()) all.push_back(each.name);
      return all;
    }();
    std::string told = "unknown event '" + shown(event) + "': the simulator has no such event";
    if (const std::string* meant = probableTypoOf(event, names)) told += "; did you mean '" + *meant + "'?";
    return told;
  }
  if (!known->simulated() && aircraft.firstMention("event " + event)) {
    return "event '" + shown(event) + "' is not simulated: it is sent, and the aircraft's variables stay as they are";
  }
  return std::nullopt;
}

// What a gauge reading an A:, E: or P: variable is told about its name: one
// the simulator lacks (with the nearest it has), or (once per run) one that
// only later simulators have.
std::optional<std::string> variableNameFinding(SimulatedAircraft& aircraft, int slot, const VariableName& name,
                                               std::string_view written) {
  const TableVariable* row = aircraft.tableVariableOf(slot);
  if (row == nullptr) {
    std::string told = "unknown simulator variable " + shown(written) + ": it reads 0";
    const std::string meant = nearestVariableName(name.kind, simulatorKey(name.name));
    if (!meant.empty()) told += "; did you mean '" + meant + "'?";
    return told;
  }
  if (!row->fs2004 && aircraft.firstMention(std::string(1, row->kind) + ":" + row->name)) {
    return shown(written) + ": FS2004 does not have this variable (later simulators do); here it reads its rest value";
  }
  return std::nullopt;
}

}  // namespace

void Compiler::variable(const Token& token) {
  const std::string_view written = token.text;
  if (token.unclosed) finding("a variable without its closing ')' runs to the script's end");
  const size_t macro = written.find('@');
  if (macro != std::string_view::npos) {
    size_t end = macro + 1;
    while (end < written.size() && (std::isalnum(static_cast<unsigned char>(written[end])) || written[end] == '_')) {
      ++end;
    }
    finding("macro '" + shown(written.substr(macro, end - macro)) + "' is not defined");
    undefinedVariable(startsAsWrite(written));
    return;
  }
  const std::optional<VariableName> name = parseVariableName(written);
  if (!name) {
    finding("unknown variable " + shown(written));
    undefinedVariable(startsAsWrite(written));
    return;
  }
  switch (name->kind) {
    case 'L': sharedVariable(*name); break;
    case 'G': gaugeVariable(*name, written); break;
    case 'A':
    case 'E': aircraftVariable(*name, written); break;
    case 'K':
      if (name->write) {
        if (const auto told = eventFinding(context_.aircraft, upperCase(name->name))) finding(*told);
        details_.events.push_back(upperCase(name->name));
        emit(Op::kSendEvent, static_cast<int32_t>(details_.events.size() - 1));
      } else {
        finding(shown(written) + ": K: events are sent, not read: it reads 0");
        emit(Op::kPushNumber);
      }
      break;
    case 'M': mouseVariable(*name, written); break;
    default:
      context_.findings.addUnsimulated(details_.sites[static_cast<size_t>(siteOfLine(line_))],
                                       name->kind == 'C' ? "C: variables" : "R: strings",
                                       "reads give 0, writes are dropped");
      undefinedVariable(name->write);
      break;
  }
}

// L: names are taken as written; a bool read gives 0 or 1, any other unit
// takes the number as it stands.
void Compiler::sharedVariable(const VariableName& name) {
  const int id = context_.shared.bind(name.name);
  if (name.write) {
    emit(Op::kWriteShared, id);
  } else {
    emit(name.unit == "bool" || name.unit == "boolean" ? Op::kReadSharedBool : Op::kReadShared, id);
  }
}

void Compiler::gaugeVariable(const VariableName& name, std::string_view written) {
  const int index = gaugeVariableIndex(name.name);
  if (index == 0) {
    finding("unknown gauge variable " + shown(written) + ": G:Var1 to G:Var9 are known");
    undefinedVariable(name.write);
    return;
  }
  emit(name.write ? Op::kWriteGauge : Op::kReadGauge, index);
}

// Read in the unit the script names, converted from the unit the aircraft
// holds it in by a factor fixed here.
void Compiler::aircraftVariable(const VariableName& name, std::string_view written) {
  if (name.write) {
    finding(shown(written) + ": gauges cannot write simulator variables; the value is dropped");
    emit(Op::kDiscard);
    return;
  }
  SimulatedAircraft& aircraft = context_.aircraft;
  const int slot = aircraft.bind(name.kind, name.name, name.index, name.unit);
  if (const auto told = variableNameFinding(aircraft, slot, name, written)) finding(*told);
  const std::string& heldIn = aircraft.unitOf(slot);
  if (name.unit.empty()) {
    if (name.kind == 'A' && kUnitlessReadIsZero) {
      finding(shown(written) + " has no unit: the simulator reads an A: variable without one as 0; name its unit (" +
              heldIn + ")");
      emit(Op::kPushNumber);
    } else {
      emit(Op::kReadAircraft, slot);
    }
    return;
  }
  const Unit* wanted = findUnit(name.unit);
  if (wanted == nullptr) {
    finding("unknown unit '" + shown(name.unit) + "' in " + shown(written) + ": the number is read as held, in " +
            heldIn);
    emit(Op::kReadAircraft, slot);
    return;
  }
  const UnitRead read = aircraft.unitRead(slot, *wanted);
  if (read.crossGroup) {
    finding("unit '" + shown(name.unit) + "' is no unit of " + shown(written) + ", held in " + heldIn +
            ": the simulator reads its value in its own base unit as if in the base unit of '" + wanted->name + "'");
  }
  if (read.conversion.identity()) {
    emit(Op::kReadAircraft, slot);
    return;
  }
  details_.conversions.push_back(read.conversion);
  emit(Op::kReadAircraftConverted, slot, static_cast<int32_t>(details_.conversions.size() - 1));
}

void Compiler::mouseVariable(const VariableName& name, std::string_view written) {
  const std::string which = upperCase(name.name);
  if (name.write) {
    finding(shown(written) + ": gauges cannot write mouse variables; the value is dropped");
    emit(Op::kDiscard);
  } else if (which == "EVENT") {
    emit(Op::kReadMouseEvent);
  } else if (which == "KEY") {
    emit(Op::kReadKey);
  } else if (which == "X" || which == "Y") {
    emit(which == "X" ? Op::kReadMouseX : Op::kReadMouseY);
  } else {
    finding("unknown mouse variable " + shown(written) + ": it reads 0");
    emit(Op::kPushNumber);
  }
}

// What a variable that cannot be resolved compiles to: a read gives 0, a
// write drops its value.
void Compiler::undefinedVariable(bool write) { emit(write ? Op::kDiscard : Op::kPushNumber); }

}  // namespace vorlanex::gauges
