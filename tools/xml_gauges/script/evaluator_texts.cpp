// The texts of a run: reading values as numbers or texts, and the operators
// on texts. New texts go into the run's buffer, whose room is fixed, so no
// script can make a run take memory without bound.
#include <algorithm>
#include <cctype>

#include "script_machine.h"
#include "value_text.h"

namespace vorlanex::gauges {
namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// -1, 0 or 1, as scmp and scmi give.
int compareTexts(std::string_view a, std::string_view b, bool ignoreCase) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(ignoreCase ? lower(a[i]) : a[i]);
    const auto y = static_cast<unsigned char>(ignoreCase ? lower(b[i]) : b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// A position given as a number, clamped into [0, size].
size_t clampedPosition(double position, size_t size) {
  const int64_t whole = wholeNumber(position);
  if (whole < 0) return 0;
  return static_cast<uint64_t>(whole) > size ? size : static_cast<size_t>(whole);
}

double position(size_t found) {
  return found == std::string_view::npos ? -1.0 : static_cast<double>(found);
}

}  // namespace

double Machine::numberOfText(const Cell& cell) const {
  char buffer[32];
  return numberPrefix(textOf(cell, buffer));
}

std::string_view Machine::textOf(const Cell& cell, char* buffer) const {
  switch (cell.where) {
    case Cell::kNumber: return numberText(cell.number, buffer);
    case Cell::kProgramText: return std::string_view(cell.text, cell.length);
    case Cell::kRunText: return std::string_view(stackState_.texts).substr(cell.offset, cell.length);
  }
  return {};
}

bool Machine::roomFor(size_t length) {
  const std::string& buffer = texts();
  if (buffer.size() + length <= buffer.capacity()) return true;
  tell(kTextLimit, "the script's texts outgrew their room: an empty text is pushed");
  return false;
}

void Machine::pushText(std::string_view text) {
  if (!roomFor(text.size())) text = {};
  std::string& buffer = texts();
  const auto offset = static_cast<uint32_t>(buffer.size());
  buffer.append(text);  // within the reserved room: earlier texts stay where they are
  push(Cell{{0.0}, offset, static_cast<uint32_t>(text.size()), Cell::kRunText});
}

void Machine::textOperation(Op op) {
  char bufferA[32];
  char bufferB[32];
  switch (op) {
    case Op::kCompareText:
    case Op::kCompareTextNoCase: {
      const Cell b = pop();
      const Cell a = pop();
      pushNumber(compareTexts(textOf(a, bufferA), textOf(b, bufferB), op == Op::kCompareTextNoCase));
      break;
    }
    case Op::kConcatenate: {
      const Cell b = pop();
      const Cell a = pop();
      const std::string_view first = textOf(a, bufferA);
      const std::string_view second = textOf(b, bufferB);
      if (!roomFor(first.size() + second.size())) {
        pushText({});
        break;
      }
      std::string& buffer = texts();
      const auto offset = static_cast<uint32_t>(buffer.size());
      buffer.append(first);
      buffer.append(second);
      push(Cell{{0.0}, offset, static_cast<uint32_t>(first.size() + second.size()), Cell::kRunText});
      break;
    }
    case Op::kFindText: {  // TEXT PART sstr
      const Cell part = pop();
      const Cell text = pop();
      pushNumber(position(textOf(text, bufferA).find(textOf(part, bufferB))));
      break;
    }
    case Op::kFindCharacter: {  // TEXT CHAR schr: CHAR a text or a character code
      const Cell character = pop();
      const Cell text = pop();
      const std::string_view given = textOf(character, bufferB);
      const char c = character.where == Cell::kNumber ? static_cast<char>(wholeNumber(character.number))
                                                      : (given.empty() ? '\0' : given.front());
      pushNumber(position(textOf(text, bufferA).find(c)));
      break;
    }
    case Op::kSubText: {  // TEXT FROM TO ssub
      const double to = popNumber();
      const double from = popNumber();
      const std::string_view text = textOf(pop(), bufferA);
      const size_t start = clampedPosition(from, text.size());
      const size_t end = std::max(start, clampedPosition(to, text.size()));
      pushText(text.substr(start, end - start));
      break;
    }
    case Op::kCharacterAt: {  // TEXT N symb
      const double at = popNumber();
      const std::string_view text = textOf(pop(), bufferA);
      const size_t start = clampedPosition(at, text.size());
      pushText(at < 0.0 ? std::string_view() : text.substr(start, 1));
      break;
    }
    case Op::kCharacter: {
      const char c = static_cast<char>(wholeNumber(popNumber()) & 0xFF);
      pushText(std::string_view(&c, 1));
      break;
    }
    case Op::kTextLength: {
      const Cell text = pop();
      pushNumber(static_cast<double>(textOf(text, bufferA).size()));
      break;
    }
    case Op::kCharacterCode: {
      const std::string_view text = textOf(pop(), bufferA);
      pushNumber(text.empty() ? 0.0 : static_cast<unsigned char>(text.front()));
      break;
    }
    case Op::kLowerCase:
    case Op::kUpperCase:
    case Op::kCapitalize: {
      const std::string_view text = textOf(pop(), bufferA);
      std::string& buffer = texts();
      const size_t offset = buffer.size();
      pushText(text);
      if (buffer.size() == offset) break;  // no room: '' was pushed
      for (size_t i = offset; i < buffer.size(); ++i) {
        const bool up = op == Op::kUpperCase || (op == Op::kCapitalize && i == offset);
        buffer[i] = up ? upper(buffer[i]) : lower(buffer[i]);
      }
      break;
    }
    default: break;
  }
}

}  // namespace vorlanex::gauges
