#include "gauge_string.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "compiler.h"
#include "operators.h"
#include "value_format.h"

namespace vorlanex::gauges {
namespace {

// Deeper %{if}, %{case} and %{loop} are read as text: no string can exhaust
// the stack.
constexpr int kDeepestNesting = 32;
// The passes of all %{loop}s of one formatting, and the text it may make:
// a loop whose condition never turns 0 ends there, told.
constexpr int kMostLoopPasses = 1000;
constexpr size_t kLongestText = 64 * 1024;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

struct Part;
using PartList = std::vector<Part>;

struct Part {
  enum class Kind { kText, kValue, kIf, kCase, kLoop } kind = Kind::kText;
  std::string text;
  Program script;                        // kValue, kIf, kCase: its value
  std::optional<ValueFormat> format;     // kValue: shown only with a format
  PartList whenTrue, whenFalse;          // kIf; kCase: whenFalse is its %{else}
  std::vector<std::pair<long long, PartList>> cases;  // kCase, by value
  PartList body;                         // kLoop
  ScriptSite site;                       // kLoop: where it stands, for its finding
  mutable bool told = false;             // kLoop: its bound was told
};

// Where a list of parts ends.
struct Stop {
  enum class Kind { kTextEnd, kElse, kEnd, kCaseLabel, kNext } kind = Kind::kTextEnd;
  long long label = 0;
};

class StringReader {
 public:
  StringReader(std::string_view text, const ScriptSite& site, ScriptContext& context)
      : text_(text), site_(site), context_(context) {}

  PartList read() {
    PartList all;
    for (;;) {
      Stop stop;
      PartList parts = readParts(0, stop);
      for (Part& part : parts) all.push_back(std::move(part));
      if (stop.kind == Stop::Kind::kTextEnd) return all;
      tell("%{else}, %{end}, %{next} or %{:N} without its %{if}, %{case} or %{loop}: it is skipped");
    }
  }

 private:
  PartList readParts(int depth, Stop& stop);
  bool readMarker(std::string_view marker) {
    if (text_.substr(at_, marker.size()) != marker) return false;
    at_ += marker.size();
    return true;
  }
  // Blanks and line breaks between a part and what belongs to it (its
  // format, its %{if}) are skipped; before anything else they are text.
  bool readMarkerAfterBlanks(std::string_view marker) {
    size_t next = at_;
    while (next < text_.size() && isBlank(text_[next])) ++next;
    if (text_.substr(next, marker.size()) != marker) return false;
    at_ = next;
    return true;
  }
  Part readLoop(int depth);
  std::optional<long long> readCaseLabel();
  Part readScript(int depth);
  void readChoice(Part& part, int depth);
  void tell(std::string message) {
    const int lines = linesBefore(at_);
    context_.findings.add(scriptLineSite(site_, lines, text_.substr(lineStart_)), std::move(message));
  }
  // Counted on from the last place asked about, as reading moves forward,
  // with where the line of that place starts: a string of many faults on one
  // long line is read in one pass.
  int linesBefore(size_t at) {
    if (at < countedTo_) countedTo_ = 0, linesCounted_ = 0, lineStart_ = 0;
    for (; countedTo_ < at && countedTo_ < text_.size(); ++countedTo_) {
      if (text_[countedTo_] == '\n') ++linesCounted_, lineStart_ = countedTo_ + 1;
    }
    return linesCounted_;
  }

  std::string_view text_;
  const ScriptSite& site_;
  ScriptContext& context_;
  size_t at_ = 0;
  size_t countedTo_ = 0;
  int linesCounted_ = 0;
  size_t lineStart_ = 0;
};

std::optional<long long> StringReader::readCaseLabel() {
  if (text_.substr(at_, 3) != "%{:") return std::nullopt;
  size_t end = at_ + 3;
  bool negative = end < text_.size() && text_[end] == '-';
  if (negative) ++end;
  long long label = 0;
  const size_t digits = end;
  while (end < text_.size() && end - digits < 12 && text_[end] >= '0' && text_[end] <= '9') {
    label = label * 10 + (text_[end++] - '0');
  }
  if (end == digits || end >= text_.size() || text_[end] != '}') return std::nullopt;
  at_ = end + 1;
  return negative ? -label : label;
}

PartList StringReader::readParts(int depth, Stop& stop) {
  PartList parts;
  const auto addText = [&parts](std::string_view text) {
    if (parts.empty() || parts.back().kind != Part::Kind::kText) parts.emplace_back();
    parts.back().text += text;
  };
  while (at_ < text_.size()) {
    if (text_[at_] != '%') {
      const size_t next = std::min(text_.find('%', at_), text_.size());
      addText(text_.substr(at_, next - at_));
      at_ = next;
    } else if (readMarker("%%")) {
      addText("%");
    } else if (text_.substr(at_, 2) == "%(") {
      parts.push_back(readScript(depth));
    } else if (readMarker("%{else}")) {
      stop = {Stop::Kind::kElse};
      return parts;
    } else if (readMarker("%{end}")) {
      stop = {Stop::Kind::kEnd};
      return parts;
    } else if (readMarker("%{next}")) {
      stop = {Stop::Kind::kNext};
      return parts;
    } else if (text_.substr(at_, 7) == "%{loop}" && depth < kDeepestNesting) {
      parts.push_back(readLoop(depth));
    } else if (const std::optional<long long> label = readCaseLabel()) {
      stop = {Stop::Kind::kCaseLabel, *label};
      return parts;
    } else if (text_.substr(at_, 5) == "%{if}" || text_.substr(at_, 7) == "%{case}") {
      tell("%{if} or %{case} without a %( script ) before it: it is skipped");
      at_ = text_.find('}', at_) + 1;
    } else {
      addText("%");
      ++at_;
    }
  }
  stop = {Stop::Kind::kTextEnd};
  return parts;
}

// "%( script )" and what follows it: a format, a %{if} or a %{case}.
Part StringReader::readScript(int depth) {
  const size_t start = at_ + 2;
  size_t end = start;
  int open = 1;
  bool quoted = false;
  for (; end < text_.size(); ++end) {
    const char c = text_[end];
    if (c == '\'') quoted = !quoted;
    if (quoted) continue;
    if (c == '(') ++open;
    if (c == ')' && --open == 0) break;
  }
  if (end >= text_.size()) tell("%( without its closing ): the script runs to the string's end");
  ScriptSite scriptSite = site_;
  scriptSite.line = site_.line + linesBefore(start);
  Part part;
  part.kind = Part::Kind::kValue;
  part.script = compileScript(text_.substr(start, end - start), scriptSite, context_);
  at_ = std::min(end + 1, text_.size());

  if (readMarkerAfterBlanks("%!")) {
    const size_t close = text_.find('!', at_ + 2);
    if (close != std::string_view::npos) {
      part.format = parseValueFormat(text_.substr(at_ + 2, close - at_ - 2));
      if (!part.format) {
        tell("unknown format '" + shown(text_.substr(at_, close + 1 - at_)) + "': the value is shown as by %!s!");
        part.format = ValueFormat{};
      }
      at_ = close + 1;
    }
  }
  readChoice(part, depth);
  readMarkerAfterBlanks("%{loop}");  // a loop right after, blanks between or not
  return part;
}

// %{if}...%{else}...%{end} or %{case}%{:N}...%{end} chooses by the script's
// value.
void StringReader::readChoice(Part& part, int depth) {
  const bool isIf = readMarkerAfterBlanks("%{if}");
  const bool isCase = !isIf && readMarkerAfterBlanks("%{case}");
  if (!isIf && !isCase) return;
  if (depth >= kDeepestNesting) {
    tell("%{if} and %{case} nest too deep: the deeper ones are read as text");
    return;
  }
  Stop stop;
  if (isIf) {
    at_ += 5;
    part.kind = Part::Kind::kIf;
    part.whenTrue = readParts(depth + 1, stop);
    if (stop.kind == Stop::Kind::kElse) part.whenFalse = readParts(depth + 1, stop);
  } else {
    at_ += 7;
    part.kind = Part::Kind::kCase;
    readParts(depth + 1, stop);  // the text before the first %{:N} shows nowhere
    while (stop.kind == Stop::Kind::kCaseLabel || stop.kind == Stop::Kind::kElse) {
      if (stop.kind == Stop::Kind::kElse) {
        part.whenFalse = readParts(depth + 1, stop);  // the default, whatever the value
        continue;
      }
      const long long label = stop.label;
      part.cases.emplace_back(label, readParts(depth + 1, stop));
    }
  }
  if (stop.kind != Stop::Kind::kEnd) tell(std::string(isIf ? "%{if}" : "%{case}") + " without its %{end}");
}

// %{loop}...%{next}: the body again while its last %( ) gives other than 0.
Part StringReader::readLoop(int depth) {
  Part part;
  part.kind = Part::Kind::kLoop;
  part.site = scriptLineSite(site_, linesBefore(at_), text_.substr(lineStart_));
  at_ += 7;
  Stop stop;
  part.body = readParts(depth + 1, stop);
  if (stop.kind != Stop::Kind::kNext) tell("%{loop} without its %{next}: the loop ends with the string");
  return part;
}

// One formatting of a string: its text, the passes its loops made, and the
// value of the last %( ) that ran.
struct Formatting {
  ScriptContext& context;
  std::string& out;
  int loopPasses = 0;
  double lastValue = 0.0;
  bool ranScript = false;
};

void format(const PartList& parts, Formatting& formatting) {
  ScriptContext& context = formatting.context;
  std::string& out = formatting.out;
  for (const Part& part : parts) {
    if (out.size() > kLongestText) return;
    if (part.kind == Part::Kind::kText) {
      out += part.text;
      continue;
    }
    if (part.kind == Part::Kind::kLoop) {
      for (;;) {
        formatting.ranScript = false;
        format(part.body, formatting);
        if (!formatting.ranScript || formatting.lastValue == 0.0 || out.size() > kLongestText) break;
        if (++formatting.loopPasses >= kMostLoopPasses) {
          if (!part.told) {
            part.told = true;
            context.findings.add(part.site, "the string's %{loop} ran " + std::to_string(kMostLoopPasses) +
                                                " times and was stopped (does its condition ever give 0?)");
          }
          break;
        }
      }
      continue;
    }
    const Value value = evaluateScript(part.script, context);
    formatting.lastValue = value.number;
    formatting.ranScript = true;
    if (part.format) out += formatValue(value, *part.format);
    if (part.kind == Part::Kind::kIf) {
      format(value.number != 0.0 ? part.whenTrue : part.whenFalse, formatting);
    } else if (part.kind == Part::Kind::kCase) {
      const long long chosen = wholeNumber(value.number);
      const PartList* branch = &part.whenFalse;
      for (const auto& [label, parts] : part.cases) {
        if (label == chosen) {
          branch = &parts;
          break;
        }
      }
      format(*branch, formatting);
    }
  }
}

}  // namespace

struct GaugeString::Parts {
  PartList parts;
  int registersUsed = 0;  // by all its scripts: the registers a formatting sets to 0
};

namespace {

int registersUsed(const PartList& parts) {
  int most = 0;
  for (const Part& part : parts) {
    most = std::max({most, part.script.registersUsed(), registersUsed(part.whenTrue), registersUsed(part.whenFalse),
                     registersUsed(part.body)});
    for (const auto& branch : part.cases) most = std::max(most, registersUsed(branch.second));
  }
  return most;
}

}  // namespace

GaugeString::GaugeString() = default;
GaugeString::~GaugeString() = default;
GaugeString::GaugeString(GaugeString&&) noexcept = default;
GaugeString& GaugeString::operator=(GaugeString&&) noexcept = default;

GaugeString compileGaugeString(std::string_view text, const ScriptSite& site, ScriptContext& context) {
  GaugeString compiled;
  compiled.parts_ = std::make_unique<GaugeString::Parts>();
  compiled.parts_->parts = StringReader(text, site, context).read();
  compiled.parts_->registersUsed = registersUsed(compiled.parts_->parts);
  return compiled;
}

std::string formatGaugeString(const GaugeString& text, ScriptContext& context) {
  // A text a register keeps may stand in the stack's texts, so the parts
  // run on one stack: the cycle's, or when formatted alone, one of their own.
  if (context.stack == nullptr) {
    ScriptStack own;
    context.stack = &own;
    std::string out = formatGaugeString(text, context);
    context.stack = nullptr;
    return out;
  }
  std::string out;
  if (text.parts_ == nullptr) return out;
  // The registers carry from one %( ) of the string to the next.
  ScriptRegisters registers;
  for (int i = 0; i < text.parts_->registersUsed; ++i) registers.cells[i] = Cell{};
  ScriptRegisters* outer = context.registers;
  context.registers = &registers;
  Formatting formatting{context, out};
  format(text.parts_->parts, formatting);
  context.registers = outer;
  return out;
}

}  // namespace vorlanex::gauges
