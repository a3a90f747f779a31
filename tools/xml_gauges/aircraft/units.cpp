#include "units.h"

#include <cmath>
#include <unordered_map>

#include "table_rows.h"
#include "table_text.h"
#include "text_case.h"

namespace vorlanex::gauges {
namespace {

// Lower case, one blank between words ('_' is a blank too).
std::string unitKey(std::string_view name) {
  std::string key;
  for (const char c : name) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '_') {
      if (!key.empty() && key.back() != ' ') key += ' ';
    } else {
      key += lowerAscii(c);
    }
  }
  if (!key.empty() && key.back() == ' ') key.pop_back();
  return key;
}

// What an encoded unit's decoded value is in its group's base.
struct EncodedUnit {
  std::string_view name;
  Encoding encoding;
  double factor;
};
constexpr EncodedUnit kEncodedUnits[] = {
    {"frequency bcd16", Encoding::kBcd16, 1e6},    // decoded in MHz
    {"frequency bcd32", Encoding::kBcd32, 1e6},    // decoded in MHz
    {"frequency adf bcd32", Encoding::kAdfBcd32, 1e3},  // decoded in kHz
    {"frequency adf bcd16", Encoding::kAdfBcd16, 1e3},  // decoded in kHz
    {"bco16", Encoding::kBco16, 1.0},              // decoded as the squawk's digits
};

struct UnitTable {
  std::vector<Unit> units;
  std::unordered_map<std::string, std::size_t> byName;

  UnitTable() {
    enum Column { kName, kAliases, kDimension, kGroup, kBase, kFactor, kOffset };
    const auto rows = tableRows(unitsTableText());
    units.reserve(rows.size());
    for (const auto& row : rows) {
      Unit unit;
      unit.name = std::string(trimmed(cell(row, kName)));
      unit.dimension = std::string(trimmed(cell(row, kDimension)));
      unit.group = std::string(trimmed(cell(row, kGroup)));
      unit.factor = tableNumber(cell(row, kFactor)).value_or(1.0);
      unit.offset = tableNumber(cell(row, kOffset)).value_or(0.0);
      for (const EncodedUnit& encoded : kEncodedUnits) {
        if (unitKey(unit.name) == encoded.name) {
          unit.encoding = encoded.encoding;
          unit.factor = encoded.factor;
        }
      }
      const std::size_t at = units.size();
      byName.emplace(unitKey(unit.name), at);
      std::string_view aliases = cell(row, kAliases);
      while (!aliases.empty()) {
        const std::size_t comma = aliases.find(',');
        byName.emplace(unitKey(aliases.substr(0, comma)), at);
        aliases = comma == std::string_view::npos ? std::string_view{} : aliases.substr(comma + 1);
      }
      units.push_back(std::move(unit));
    }
  }
};

const UnitTable& unitTable() {
  static const UnitTable table;
  return table;
}

// The decimal number the nibbles of `value` write: 0x2280 gives 2280.
double nibbleDigits(double value) {
  auto bits = static_cast<unsigned long long>(std::llround(std::fabs(value)));
  double digits = 0.0;
  for (double place = 1.0; bits != 0; bits >>= 4, place *= 10.0) digits += static_cast<double>(bits & 0xF) * place;
  return digits;
}

// The nibbles that write the decimal number `digits`: 2280 gives 0x2280.
double nibblesOf(double digits, int base = 10) {
  auto number = static_cast<unsigned long long>(std::floor(std::fabs(digits) + 1e-6));
  unsigned long long bits = 0;
  for (int shift = 0; number != 0 && shift < 64; shift += 4, number /= 10) {
    bits |= std::min<unsigned long long>(number % 10, static_cast<unsigned long long>(base - 1)) << shift;
  }
  return static_cast<double>(bits);
}

double decoded(Encoding encoding, double value) {
  switch (encoding) {
    case Encoding::kLinear: return value;
    case Encoding::kBcd16: return 100.0 + nibbleDigits(value) / 100.0;
    case Encoding::kBcd32: return nibbleDigits(value) / 1e5;
    case Encoding::kAdfBcd32: return nibbleDigits(value) / 1e4;
    case Encoding::kAdfBcd16:
    case Encoding::kBco16: return nibbleDigits(value);
  }
  return value;
}

double encoded(Encoding encoding, double value) {
  switch (encoding) {
    case Encoding::kLinear: return value;
    case Encoding::kBcd16: return nibblesOf(std::fmod(std::fmax(value - 100.0, 0.0) * 100.0, 10000.0));
    case Encoding::kBcd32: return nibblesOf(value * 1e5);
    case Encoding::kAdfBcd32: return nibblesOf(value * 1e4);
    case Encoding::kAdfBcd16: return nibblesOf(value);
    case Encoding::kBco16: return nibblesOf(value, 8);
  }
  return value;
}

// base = held * hf + ho; asked = (base - wo) / wf.
Conversion linearBetween(const Unit& held, const Unit& wanted) {
  Conversion conversion{held.factor / wanted.factor, (held.offset - wanted.offset) / wanted.factor};
  conversion.from = held.encoding;
  conversion.to = wanted.encoding;
  return conversion;
}

}  // namespace

const Unit* findUnit(std::string_view name) {
  const UnitTable& table = unitTable();
  const auto found = table.byName.find(unitKey(name));
  return found == table.byName.end() ? nullptr : &table.units[found->second];
}

const std::vector<Unit>& allUnits() { return unitTable().units; }

double decodedValue(Encoding encoding, double value) { return decoded(encoding, value); }

double encodedValue(Encoding encoding, double value) { return encoded(encoding, value); }

double Conversion::apply(double value) const {
  const double read = encoded(to, decoded(from, value) * scale + offset);
  return boolean ? (read != 0.0 ? 1.0 : 0.0) : read;
}

double Conversion::invert(double value) const {
  if (boolean) return value != 0.0 ? 1.0 : 0.0;
  return encoded(from, (decoded(to, value) - offset) / scale);
}

UnitRead conversionBetween(const Unit& held, const Unit& wanted) {
  if (wanted.boolean()) return {Conversion{1.0, 0.0, true}, false};
  if (held.group == wanted.group) return {linearBetween(held, wanted), false};
  if (held.plain() || held.boolean() || wanted.plain()) return {};
  return {crossGroupConversion(held, wanted), true};
}

Conversion crossGroupConversion(const Unit& held, const Unit& wanted) {
  if (kCrossGroupRead == CrossGroupRead::kCrossGroupAsIs) {
    Conversion asIs{held.factor, held.offset};
    asIs.from = held.encoding;
    return asIs;
  }
  return linearBetween(held, wanted);
}

}  // namespace vorlanex::gauges
