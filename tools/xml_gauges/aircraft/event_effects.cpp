#include "event_effects.h"

#include <cmath>
#include <optional>

#include "table_rows.h"
#include "variable_name.h"

namespace vorlanex::gauges {
namespace {

bool startsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Cuts `text` at each `separator` outside (), [] and their mixes ("[0..360)").
std::vector<std::string_view> splitOutside(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '(' || c == '[') ++depth;
    if ((c == ')' || c == ']') && depth > 0) --depth;
    if (c == separator && depth == 0) {
      parts.push_back(trimmed(text.substr(start, i - start)));
      start = i + 1;
    }
  }
  parts.push_back(trimmed(text.substr(start)));
  return parts;
}

// A clause without its remarks in parentheses, and the remarks. "(value+16384)"
// is part of a formula, not a remark.
struct Remarks {
  std::string text;
  std::vector<std::string> remarks;
};
Remarks withoutRemarks(std::string_view clause) {
  Remarks out;
  for (std::size_t i = 0; i < clause.size(); ++i) {
    if (clause[i] != '(' || startsWith(clause.substr(i), "(value")) {
      out.text += clause[i];
      continue;
    }
    int depth = 0;
    std::size_t end = i;
    for (; end < clause.size(); ++end) {
      if (clause[end] == '(') ++depth;
      if (clause[end] == ')' && --depth == 0) break;
    }
    out.remarks.emplace_back(clause.substr(i + 1, end - i - 1));
    i = end;
  }
  out.text = std::string(trimmed(out.text));
  return out;
}

// A number at the start of `text` ("16384", "-1", "0.01?"), with what follows.
std::optional<double> leadingNumber(std::string_view& text) {
  std::size_t end = 0;
  while (end < text.size() && std::string_view("0123456789.-+").find(text[end]) != std::string_view::npos) ++end;
  const std::optional<double> number = tableNumber(text.substr(0, end));
  if (number) {
    text.remove_prefix(end);
    if (!text.empty() && text.front() == '?') text.remove_prefix(1);
  }
  return number;
}

// A variable named at the start of `text` ("GENERAL ENG STARTER:1 = ..."), the
// longest run of words that names one, with its index; `text` keeps the rest.
std::optional<EffectTarget> leadingVariable(std::string_view& text) {
  std::vector<std::size_t> wordEnds;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ' ') wordEnds.push_back(i);
  }
  for (auto end = wordEnds.rbegin(); end != wordEnds.rend(); ++end) {
    std::string_view words = text.substr(0, *end);
    char kind = 'A';
    if (startsWith(words, "E:")) {
      kind = 'E';
      words.remove_prefix(2);
    }
    std::string_view index;
    if (const std::size_t colon = words.rfind(':'); colon != std::string_view::npos) {
      index = words.substr(colon + 1);
      words = words.substr(0, colon);
    }
    const VariableLookup found = lookUpVariable(kind, simulatorKey(words));
    if (found.variable == nullptr) continue;
    EffectTarget target;
    target.variable = found.variable;
    if (found.index >= 0) {
      target.index = found.index;
    } else if (index == "*") {
      target.from = EffectTarget::Index::kSelectedEngines;
    } else if (index == "value") {
      target.from = EffectTarget::Index::kEventValue;
    } else if (!index.empty()) {
      const std::optional<double> number = tableNumber(index);
      if (!number) continue;
      target.index = static_cast<int>(*number);
    } else {
      target.index = found.variable->indexed ? 1 : 0;
    }
    text = trimmed(text.substr(*end));
    return target;
  }
  return std::nullopt;
}

// A unit word, as in "by 25 kHz" or "= value ft" (a trailing '?' allowed).
const Unit* leadingUnit(std::string_view& text) {
  const std::size_t end = std::min(text.find(' '), text.size());
  std::string_view word = text.substr(0, end);
  if (!word.empty() && word.back() == '?') word.remove_suffix(1);
  if (word.empty()) return nullptr;
  const Unit* unit = findUnit(word);
  if (unit != nullptr) text = trimmed(text.substr(end));
  return unit;
}

// "[0..360)", "[118..136]", "[0..FLAPS NUM HANDLE POSITIONS]" and "[clamp to X]".
bool readBound(std::string_view& text, EffectBound& bound) {
  if (text.empty() || text.front() != '[') return true;
  std::size_t close = text.find_first_of("])");
  if (close == std::string_view::npos) return false;
  std::string_view inside = text.substr(1, close - 1);
  bound.given = true;
  bound.highExcluded = text[close] == ')';
  text = trimmed(text.substr(close + 1));
  const auto endValue = [](std::string_view written, EffectValue& value) {
    written = trimmed(written);
    if (const std::optional<double> number = tableNumber(written)) {
      value.constant = *number;
      return true;
    }
    const std::optional<EffectTarget> variable = leadingVariable(written);
    if (!variable || !written.empty()) return false;
    value.from = EffectValue::From::kVariable;
    value.variable = *variable;
    return true;
  };
  if (startsWith(inside, "clamp to ")) {
    bound.low.constant = 0.0;
    return endValue(inside.substr(9), bound.high);
  }
  const std::size_t dots = inside.find("..");
  if (dots == std::string_view::npos) return false;
  if (!endValue(inside.substr(0, dots), bound.low) || !endValue(inside.substr(dots + 2), bound.high)) return false;
  if (startsWith(text, "clamp")) text = trimmed(text.substr(5));
  if (startsWith(text, "wrap")) {
    bound.wrap = true;
    text = trimmed(text.substr(4));
  }
  return true;
}

// "value/16384*100", "(value+16384)/32768*100", "1", "FLAPS NUM HANDLE POSITIONS",
// "nearest detent to value/16384*100 %", "value ft", "1 [clamp to X]".
bool readValue(std::string_view text, EventEffect& effect) {
  EffectValue& value = effect.value;
  if (startsWith(text, "nearest detent to ")) {
    value.nearestDetent = true;
    text.remove_prefix(18);
    if (text.size() > 2 && text.substr(text.size() - 2) == " %") text.remove_suffix(2);
  }
  if (startsWith(text, "(value+")) {
    text.remove_prefix(7);
    const std::optional<double> add = leadingNumber(text);
    if (!add || text.empty() || text.front() != ')') return false;
    text.remove_prefix(1);
    value.from = EffectValue::From::kEventValue;
    value.add = *add;
  } else if (startsWith(text, "value")) {
    text.remove_prefix(5);
    value.from = EffectValue::From::kEventValue;
  } else if (const std::optional<double> number = leadingNumber(text)) {
    value.constant = *number;
  } else if (const std::optional<EffectTarget> variable = leadingVariable(text)) {
    value.from = EffectValue::From::kVariable;
    value.variable = *variable;
  } else {
    return false;
  }
  while (!text.empty() && (text.front() == '/' || text.front() == '*')) {
    const bool divide = text.front() == '/';
    text.remove_prefix(1);
    const std::optional<double> number = leadingNumber(text);
    if (!number || (divide && *number == 0.0)) return false;
    value.scale = divide ? value.scale / *number : value.scale * *number;
  }
  text = trimmed(text);
  if (!text.empty() && text.front() != '[') effect.unit = leadingUnit(text);
  return readBound(text, effect.bound) && text.empty();
}

constexpr std::string_view kMagnetoPositions[] = {"OFF", "RIGHT", "LEFT", "BOTH", "START"};

// "magneto-switch:1" and the rest after it: the left magneto stands for the switch.
std::optional<EffectTarget> magnetoSwitch(std::string_view& text) {
  if (!startsWith(text, "magneto-switch:")) return std::nullopt;
  const std::string written = "RECIP ENG LEFT MAGNETO:" + std::string(text.substr(15));
  std::string_view rest = written;
  const std::optional<EffectTarget> target = leadingVariable(rest);
  if (target) text = text.substr(text.size() - rest.size());
  return target;
}

bool readSet(std::string_view text, EventEffect& effect) {
  if (std::optional<EffectTarget> magneto = magnetoSwitch(text)) {
    if (!startsWith(text, "= ")) return false;
    const std::string_view position = trimmed(text.substr(2));
    effect.action = EffectAction::kMagneto;
    effect.target = *magneto;
    effect.position = -1;
    for (int i = 0; i < 5; ++i) {
      if (position == kMagnetoPositions[i]) effect.position = i;
    }
    return effect.position >= 0 || position == "value";
  }
  const std::optional<EffectTarget> target = leadingVariable(text);
  if (!target || !startsWith(text, "= ") || target->variable->clock != ClockRole::kNone) return false;
  effect.action = EffectAction::kSet;
  effect.target = *target;
  return readValue(trimmed(text.substr(2)), effect);
}

bool readStep(std::string_view text, double sign, EventEffect& effect) {
  if (std::optional<EffectTarget> magneto = magnetoSwitch(text)) {
    effect.action = EffectAction::kMagnetoStep;
    effect.target = *magneto;
    effect.step = sign;
    return startsWith(text, "one step");
  }
  if (startsWith(text, "the ")) {  // "the 100s digit of ADF ACTIVE FREQUENCY:1"
    text.remove_prefix(4);
    const std::optional<double> place = leadingNumber(text);
    if (!place || !startsWith(text, "s digit of ")) return false;
    text.remove_prefix(11);
    const std::optional<EffectTarget> target = leadingVariable(text);
    if (!target) return false;
    effect.action = EffectAction::kDigitStep;
    effect.target = *target;
    effect.place = *place;
    effect.step = sign;
    if (!readBound(text, effect.bound) || !text.empty()) return false;
    if (effect.bound.given) effect.base = static_cast<int>(effect.bound.high.constant) + 1;
    return effect.base >= 2 && effect.base <= 10;
  }
  const std::optional<EffectTarget> target = leadingVariable(text);
  if (!target || !startsWith(text, "by ") || target->variable->clock != ClockRole::kNone) return false;
  text.remove_prefix(3);
  const std::optional<double> step = leadingNumber(text);
  if (!step) return false;
  effect.action = EffectAction::kStep;
  effect.target = *target;
  effect.step = sign * *step;
  text = trimmed(text);
  if (!text.empty() && text.front() != '[') effect.unit = leadingUnit(text);
  if (!readBound(text, effect.bound)) return false;
  if (startsWith(text, "clamp")) {  // a switch's positions without a range: none below 0
    text = trimmed(text.substr(5));
    effect.bound.given = true;
    effect.bound.high.constant = HUGE_VAL;
  }
  if (startsWith(text, ", kHz kept") || startsWith(text, "with carry")) text = {};
  if (startsWith(text, "with octal carry")) {
    effect.octalCarry = true;
    text = {};
  }
  return text.empty();
}

bool readWindow(std::string_view text, EventEffect& effect) {
  effect.action = EffectAction::kWindow;
  if (startsWith(text, "open ")) effect.window = EventEffect::Window::kOpen;
  else if (startsWith(text, "close ")) effect.window = EventEffect::Window::kClose;
  else if (!startsWith(text, "toggle ")) return false;
  text = text.substr(text.find(' ') + 1);
  if (text == "ident=value") return true;
  constexpr std::string_view kByOrder = "the panel window bound to Shift+";
  if (!startsWith(text, kByOrder) || text.size() != kByOrder.size() + 1) return false;
  effect.windowOrder = text.back() - '0';
  return effect.windowOrder >= 1 && effect.windowOrder <= 9;
}

// One clause, remarks gone: what it does, or false.
bool readClause(std::string_view text, EventEffect& effect) {
  if (startsWith(text, "toggle ")) {
    text.remove_prefix(7);
    if (startsWith(text, "failure: ")) text.remove_prefix(9);
    const std::optional<EffectTarget> target = leadingVariable(text);
    if (!target || !(text.empty() || startsWith(text, "between "))) return false;
    effect.action = EffectAction::kToggle;
    effect.target = *target;
    return true;
  }
  if (startsWith(text, "set ")) return readSet(text.substr(4), effect);
  if (startsWith(text, "inc ")) return readStep(text.substr(4), 1.0, effect);
  if (startsWith(text, "dec ")) return readStep(text.substr(4), -1.0, effect);
  if (startsWith(text, "window ")) return readWindow(text.substr(7), effect);
  if (startsWith(text, "swap ")) {
    text.remove_prefix(5);
    const std::optional<EffectTarget> first = leadingVariable(text);
    if (!first || !startsWith(text, "<-> ")) return false;
    text.remove_prefix(4);
    const std::optional<EffectTarget> second = leadingVariable(text);
    if (!second || !text.empty()) return false;
    effect.action = EffectAction::kSwap;
    effect.target = *first;
    effect.other = *second;
    return true;
  }
  if (contains(text, " = ")) return readSet(text, effect);  // "...; RUDDER POSITION = 0"
  return false;
}

// "KOHLSMAN SETTING HG follows": derived from what `source` changed.
bool readFollow(std::string_view text, const EventEffect* source, std::vector<EventEffect>& effects) {
  constexpr std::string_view kFollows = " follows";
  if (source == nullptr || text.size() <= kFollows.size() || text.substr(text.size() - kFollows.size()) != kFollows) {
    return false;
  }
  text.remove_suffix(kFollows.size());
  const std::optional<EffectTarget> target = leadingVariable(text);
  if (!target || !text.empty()) return false;
  EventEffect follow;
  follow.action = EffectAction::kFollow;
  follow.target = *target;
  follow.other = source->target;
  if (target->variable->indexed && source->target.variable->indexed) {
    follow.target.from = source->target.from;
    if (follow.target.from == EffectTarget::Index::kFixed) follow.target.index = source->target.index;
  }
  effects.push_back(follow);
  return true;
}

// A remark that holds back an effect: "(no effect when IS GEAR RETRACTABLE = 0)".
void readCondition(std::string_view remark, EventEffect& effect) {
  if (remark == "retractable gear only") remark = "no effect when IS GEAR RETRACTABLE = 0";
  if (!startsWith(remark, "no effect when ")) return;
  remark.remove_prefix(15);
  const std::optional<EffectTarget> variable = leadingVariable(remark);
  if (!variable || !startsWith(remark, "= ")) return;
  remark.remove_prefix(2);
  if (const std::optional<double> value = tableNumber(remark)) {
    effect.unlessVariable = variable->variable;
    effect.blockedAt = *value;
  }
}

bool changesNothing(std::string_view text) {
  for (const std::string_view mark : {"no aircraft variable", "view or camera change", "view only", "only in slew mode",
                                      "no documented effect", "no effect on a civil aircraft", "no rest-state change"}) {
    if (contains(text, mark)) return true;
  }
  return startsWith(text, "select ");
}

}  // namespace

ParsedEffects parseEffects(std::string_view text) {
  ParsedEffects parsed;
  text = trimmed(text);
  if (changesNothing(text)) {
    parsed.changesNothing = true;
    return parsed;
  }
  for (std::string_view clause : splitOutside(text, ';')) {
    if (startsWith(clause, "same ID as ")) {  // "same ID as MAGNETO_OFF: piston: set ..."
      const std::size_t piston = clause.find("piston: ");
      if (piston == std::string_view::npos) {
        parsed.unread.emplace_back(clause);
        continue;
      }
      clause.remove_prefix(piston + 8);
    }
    if (startsWith(clause, "turbine: ") || clause.empty()) continue;  // the aircraft has a piston engine
    const Remarks remarks = withoutRemarks(clause);
    const EventEffect* last = parsed.effects.empty() ? nullptr : &parsed.effects.back();
    if (readFollow(remarks.text, last, parsed.effects)) continue;
    EventEffect effect;
    if (!readClause(remarks.text, effect)) {
      parsed.unread.emplace_back(clause);
      continue;
    }
    for (const std::string& remark : remarks.remarks) {
      readCondition(remark, effect);
      if (remark == "wrap within the MHz, no carry") effect.wrapWithin = 1000.0;
      if (remark == "tenths digit wraps") effect.wrapWithin = 1.0;
    }
    parsed.effects.push_back(effect);
    const EventEffect source = parsed.effects.back();
    for (const std::string& remark : remarks.remarks) {
      for (const std::string_view part : splitOutside(remark, ';')) readFollow(part, &source, parsed.effects);
    }
  }
  return parsed;
}

}  // namespace vorlanex::gauges
