#include "gauge_string.h"

#include <utility>
#include <vector>

#include "compiler.h"
#include "operators.h"
#include "value_format.h"

namespace vorlanex::gauges {
namespace {

// Deeper %{if} and %{case} are read as text: no string can exhaust the stack.
constexpr int kDeepestNesting = 32;

struct Part;
using PartList = std::vector<Part>;

struct Part {
  enum class Kind { kText, kValue, kIf, kCase } kind = Kind::kText;
  std::string text;
  Program script;                        // kValue, kIf, kCase: its value
  std::optional<ValueFormat> format;     // kValue: shown only with a format
  PartList whenTrue, whenFalse;          // kIf
  std::vector<std::pair<long long, PartList>> cases;  // kCase, by value
};

// Where a list of parts ends.
struct Stop {
  enum class Kind { kTextEnd, kElse, kEnd, kCaseLabel } kind = Kind::kTextEnd;
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
      tell("%{else}, %{end} or %{:N} without its %{if} or %{case}: it is skipped");
    }
  }

 private:
  PartList readParts(int depth, Stop& stop);
  bool readMarker(std::string_view marker) {
    if (text_.substr(at_, marker.size()) != marker) return false;
    at_ += marker.size();
    return true;
  }
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

  if (text_.substr(at_, 2) == "%!") {
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
  return part;
}

// %{if}...%{else}...%{end} or %{case}%{:N}...%{end} chooses by the script's
// value.
void StringReader::readChoice(Part& part, int depth) {
  const bool isIf = text_.substr(at_, 5) == "%{if}";
  const bool isCase = text_.substr(at_, 7) == "%{case}";
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
    while (stop.kind == Stop::Kind::kCaseLabel) {
      const long long label = stop.label;
      part.cases.emplace_back(label, readParts(depth + 1, stop));
    }
  }
  if (stop.kind != Stop::Kind::kEnd) tell(std::string(isIf ? "%{if}" : "%{case}") + " without its %{end}");
}

void format(const PartList& parts, ScriptContext& context, std::string& out) {
  for (const Part& part : parts) {
    if (part.kind == Part::Kind::kText) {
      out += part.text;
      continue;
    }
    const Value value = runScript(part.script, context);
    if (part.format) out += formatValue(value, *part.format);
    if (part.kind == Part::Kind::kIf) {
      format(value.number != 0.0 ? part.whenTrue : part.whenFalse, context, out);
    } else if (part.kind == Part::Kind::kCase) {
      const long long chosen = wholeNumber(value.number);
      for (const auto& [label, branch] : part.cases) {
        if (label == chosen) {
          format(branch, context, out);
          break;
        }
      }
    }
  }
}

}  // namespace

struct GaugeString::Parts {
  PartList parts;
};

GaugeString::GaugeString() = default;
GaugeString::~GaugeString() = default;
GaugeString::GaugeString(GaugeString&&) noexcept = default;
GaugeString& GaugeString::operator=(GaugeString&&) noexcept = default;

GaugeString compileGaugeString(std::string_view text, const ScriptSite& site, ScriptContext& context) {
  GaugeString compiled;
  compiled.parts_ = std::make_unique<GaugeString::Parts>();
  compiled.parts_->parts = StringReader(text, site, context).read();
  return compiled;
}

std::string formatGaugeString(const GaugeString& text, ScriptContext& context) {
  std::string out;
  if (text.parts_ != nullptr) format(text.parts_->parts, context, out);
  return out;
}

}  // namespace vorlanex::gauges
