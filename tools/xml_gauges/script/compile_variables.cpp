// Variable references resolved to slots once, when the script is compiled:
// a run reads and writes by number, never by name.
#include "compiler.h"
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

// Read in the unit the script names, converted from the table's unit by a
// factor fixed here.
void Compiler::aircraftVariable(const VariableName& name, std::string_view written) {
  if (name.write) {
    finding(shown(written) + ": gauges cannot write simulator variables; the value is dropped");
    emit(Op::kDiscard);
    return;
  }
  const int slot = context_.aircraft.bind(name.kind, name.name, name.index, name.unit);
  if (name.unit.empty()) {
    emit(Op::kReadAircraft, slot);
    return;
  }
  const std::string& heldIn = context_.aircraft.unitOf(slot);
  const Unit* held = findUnit(heldIn);
  const Unit* wanted = findUnit(name.unit);
  std::optional<Conversion> conversion;
  if (wanted == nullptr) {
    finding("unknown unit '" + shown(name.unit) + "' in " + shown(written) + ": the number is read as held, in " +
            heldIn);
  } else if (held != nullptr && !(conversion = conversionBetween(*held, *wanted))) {
    finding("unit '" + shown(name.unit) + "' does not fit " + shown(written) + ", held in " + heldIn +
            ": the number is read as held");
  }
  if (!conversion || conversion->identity()) {
    emit(Op::kReadAircraft, slot);
    return;
  }
  details_.conversions.push_back(*conversion);
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
