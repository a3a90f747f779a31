#include "variable_table.h"

#include <unordered_map>

#include "name_typos.h"
#include "table_rows.h"
#include "table_text.h"
#include "variable_name.h"

namespace vorlanex::gauges {
namespace {

// The plain unit an encoded frequency is held in.
const Unit* heldUnitFor(const Unit* documented) {
  if (documented == nullptr) return nullptr;
  switch (documented->encoding) {
    case Encoding::kBcd16:
    case Encoding::kBcd32: return findUnit("megahertz");
    case Encoding::kAdfBcd32:
    case Encoding::kAdfBcd16: return findUnit("kilohertz");
    default: return documented;
  }
}

struct ClockName {
  std::string_view name;
  ClockRole role;
};
constexpr ClockName kClockNames[] = {
    {"ABSOLUTE TIME", ClockRole::kAbsoluteTime},        {"LOCAL TIME", ClockRole::kLocalTime},
    {"ZULU TIME", ClockRole::kZuluTime},                {"LOCAL DAY OF MONTH", ClockRole::kLocalDayOfMonth},
    {"LOCAL MONTH OF YEAR", ClockRole::kLocalMonthOfYear}, {"LOCAL YEAR", ClockRole::kLocalYear},
    {"LOCAL DAY OF YEAR", ClockRole::kLocalDayOfYear},  {"LOCAL DAY OF WEEK", ClockRole::kLocalDayOfWeek},
    {"ZULU DAY OF MONTH", ClockRole::kZuluDayOfMonth},  {"ZULU MONTH OF YEAR", ClockRole::kZuluMonthOfYear},
    {"ZULU YEAR", ClockRole::kZuluYear},                {"ZULU DAY OF YEAR", ClockRole::kZuluDayOfYear},
    {"ZULU DAY OF WEEK", ClockRole::kZuluDayOfWeek},
};

ClockRole clockRoleOf(char kind, std::string_view name) {
  if (kind != 'E') return ClockRole::kNone;
  for (const ClockName& clock : kClockNames) {
    if (clock.name == name) return clock.role;
  }
  return ClockRole::kNone;
}

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

std::string lookupKey(char kind, std::string_view key) {
  return std::string(1, kind == 'P' ? 'E' : kind) + std::string(key);
}

struct VariableTable {
  std::vector<TableVariable> variables;
  std::vector<NumberedName> numbered;
  std::unordered_map<std::string, VariableLookup> byKey;

  VariableTable() {
    enum Column { kName, kUnits, kDimension, kSettable, kRest, kAlias, kSource };
    const auto rows = tableRows(variablesTableText());
    variables.reserve(rows.size());
    std::vector<std::string_view> aliases;
    for (const auto& row : rows) {
      std::string_view name = trimmed(cell(row, kName));
      TableVariable variable;
      if (name.size() > 2 && name[1] == ':' && (name[0] == 'E' || name[0] == 'P')) {
        variable.kind = 'E';
        name.remove_prefix(2);
      }
      if (name.size() > 2 && name.substr(name.size() - 2) == ":N") {
        variable.indexed = true;
        name.remove_suffix(2);
      }
      variable.name = simulatorKey(name);
      if (byKey.count(lookupKey(variable.kind, variable.name)) != 0) continue;  // P: beside E:
      std::string_view unit = trimmed(cell(row, kUnits));
      if (!unit.empty() && unit.back() == '?') unit.remove_suffix(1);
      variable.unitName = std::string(unit);
      variable.documented = findUnit(unit);
      // An ADF's BCD16 frequency writes kHz, not MHz without the leading 1.
      if (variable.documented != nullptr && variable.documented->encoding == Encoding::kBcd16 &&
          variable.name.compare(0, 4, "ADF ") == 0) {
        variable.documented = findUnit("frequency adf bcd16");
      }
      variable.held = heldUnitFor(variable.documented);
      const std::string_view rest = trimmed(cell(row, kRest));
      variable.restGuessed = !rest.empty() && rest.back() == '?';
      const double documentedRest = tableNumber(rest).value_or(0.0);
      variable.rest = variable.documented != nullptr && variable.held != variable.documented
                          ? conversionBetween(*variable.documented, *variable.held).conversion.apply(documentedRest)
                          : documentedRest;
      const std::string_view source = cell(row, kSource);
      variable.fs2004 = contains(source, "fs9tok") || (variable.kind == 'E' && !contains(source, "msfs-only"));
      variable.clock = clockRoleOf(variable.kind, variable.name);
      byKey[lookupKey(variable.kind, variable.name)] = {nullptr, -1};  // placed below, once the vector stands
      variables.push_back(std::move(variable));
      aliases.push_back(trimmed(cell(row, kAlias)));
    }
    for (std::size_t i = 0; i < variables.size(); ++i) {
      byKey[lookupKey(variables[i].kind, variables[i].name)] = {&variables[i], -1};
    }
    // A numbered name is the indexed variable: it wins over a row of its own.
    for (std::size_t i = 0; i < variables.size(); ++i) addNumberedNames(variables[i], aliases[i]);
  }

  // "GENERAL ENG{N} RPM (N=1-4)", or names apart: "ADF1 ACTIVE FREQUENCY; ...".
  void addNumberedNames(const TableVariable& variable, std::string_view aliases) {
    while (!aliases.empty()) {
      const std::size_t semicolon = aliases.find(';');
      std::string_view alias = trimmed(aliases.substr(0, semicolon));
      aliases = semicolon == std::string_view::npos ? std::string_view{} : aliases.substr(semicolon + 1);
      const std::size_t placeholder = alias.find("{N}");
      const std::size_t range = alias.find("(N=");
      if (placeholder != std::string_view::npos && range != std::string_view::npos && range + 6 <= alias.size()) {
        const int first = alias[range + 3] - '0';
        const int last = alias[range + 5] - '0';
        const std::string_view stem = trimmed(alias.substr(0, range));
        for (int index = first; index <= last; ++index) {
          std::string name(stem);
          name.replace(placeholder, 3, std::to_string(index));
          addNumberedName(variable, name, index);
        }
      } else if (!alias.empty()) {
        const std::size_t digit = alias.find_first_of("0123456789");
        const int index = variable.indexed && digit != std::string_view::npos ? alias[digit] - '0' : -1;
        addNumberedName(variable, alias, index);
      }
    }
  }

  void addNumberedName(const TableVariable& variable, std::string_view name, int index) {
    std::string key = simulatorKey(name);
    byKey[lookupKey(variable.kind, key)] = {&variable, index};
    numbered.push_back({std::move(key), &variable, index});
  }
};

const VariableTable& variableTable() {
  static const VariableTable table;
  return table;
}

}  // namespace

double TableVariable::restAt(int index) const {
  // The aircraft has one engine, one set of radios and one transponder.
  constexpr std::string_view kLacking[] = {"ENG ", "GENERAL ENG ", "RECIP ", "TURB ENG ", "PROP ", "COM ",
                                           "NAV ", "ADF ", "TRANSPONDER "};
  if (index <= 1 || (documented != nullptr && documented->boolean())) return rest;
  for (const std::string_view family : kLacking) {
    if (name.compare(0, family.size(), family) == 0) return 0.0;
  }
  return rest;
}

VariableLookup lookUpVariable(char kind, std::string_view key) {
  const VariableTable& table = variableTable();
  const auto found = table.byKey.find(lookupKey(kind, key));
  return found == table.byKey.end() ? VariableLookup{} : found->second;
}

std::string nearestVariableName(char kind, const std::string& key) {
  static const std::vector<std::string> names[2] = {
      [] {
        std::vector<std::string> all;
        for (const TableVariable& variable : tableVariables()) {
          if (variable.kind == 'A') all.push_back(variable.name);
        }
        for (const NumberedName& name : numberedNames()) {
          if (name.variable->kind == 'A') all.push_back(name.name);
        }
        return all;
      }(),
      [] {
        std::vector<std::string> all;
        for (const TableVariable& variable : tableVariables()) {
          if (variable.kind == 'E') all.push_back(variable.name);
        }
        return all;
      }(),
  };
  const std::string* nearest = probableTypoOf(key, names[kind == 'A' ? 0 : 1]);
  return nearest != nullptr ? *nearest : std::string();
}

const std::vector<TableVariable>& tableVariables() { return variableTable().variables; }

const std::vector<NumberedName>& numberedNames() { return variableTable().numbered; }

}  // namespace vorlanex::gauges
