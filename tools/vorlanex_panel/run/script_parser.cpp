#include "script_parser.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "panel/global_dll.h"
#include "platform/portable/ascii_case.h"

namespace vorlanex::tool {
namespace {

// A word of a line: blanks end it, except inside a variable's parentheses or
// a tooltip's quotes.
struct Word {
  std::string text;  // a tooltip without its quotes and escapes
  bool quoted = false;
};
using Words = std::vector<Word>;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "#2" standing alone in a click names its area; any other '#' starts a
// comment.
bool isAreaNumber(std::string_view rest) {
  std::size_t end = 1;
  while (end < rest.size() && isDigit(rest[end])) ++end;
  return end > 1 && (end == rest.size() || isBlank(rest[end]));
}

bool isClick(const Words& words) {
  for (const Word& word : words) {
    if (!word.quoted && platform::equalNoCase(word.text, keyword::kClick)) return true;
  }
  return false;
}

class LineSplitter {
 public:
  LineSplitter(const std::string& file, int line) : file_(file), line_(line) {}

  Words split(std::string_view text) {
    Words words;
    std::size_t at = 0;
    while (at < text.size()) {
      if (isBlank(text[at])) {
        ++at;
      } else if (text[at] == keyword::kQuote) {
        words.push_back(quotedWord(text, at));
      } else if (text[at] == keyword::kAreaNumber &&
                 !(isClick(words) && isAreaNumber(text.substr(at)))) {
        break;  // a comment to the end of the line
      } else {
        words.push_back(plainWord(text, at));
      }
    }
    return words;
  }

 private:
  Word quotedWord(std::string_view text, std::size_t& at) {
    Word word{"", true};
    for (++at; at < text.size() && text[at] != keyword::kQuote; ++at) {
      if (text[at] == '\\' && at + 1 < text.size()) ++at;
      word.text += text[at];
    }
    if (at == text.size()) fail("a tooltip's closing quote is missing: \"" + word.text);
    ++at;
    return word;
  }

  // Up to a blank; a '(' holds the word together up to its ')'.
  Word plainWord(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    int depth = 0;
    for (; at < text.size(); ++at) {
      const char c = text[at];
      if (depth == 0 && (isBlank(c) || (c == keyword::kAreaNumber && at > start))) break;
      if (c == '(') ++depth;
      if (c == ')' && depth > 0) --depth;
    }
    std::string word(text.substr(start, at - start));
    if (depth > 0) fail("a variable's closing parenthesis is missing: " + word);
    return {word, false};
  }

  [[noreturn]] void fail(const std::string& message) const {
    throw ScriptError(file_, line_, message);
  }

  const std::string& file_;
  int line_;
};

std::optional<double> toNumber(const std::string& word) {
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0') return std::nullopt;
  return value;
}

// Why a script cannot name a variable of this kind; empty when it can.
std::string unnamedKind(const gauges::VariableName& v) {
  const std::string written = "'" + gauges::variableText(v) + "'";
  switch (v.kind) {
    case 'L':
    case 'A':
    case 'E':
      return "";
    case 'K':
      return written + " is an event: send it with '" + keyword::kEvent + " " + v.name + "'";
    case 'G':
      return written + " belongs to one gauge: a script names L:, A:, E: or P: variables";
    default:
      return written + " is no variable a script can name: it names L:, A:, E: or P: variables";
  }
}

// Reads one line's words from left to right, naming what it expected when a
// word is missing or wrong.
class LineReader {
 public:
  LineReader(const std::string& file, int line, Words words)
      : file_(file), line_(line), words_(std::move(words)) {}

  bool done() const { return next_ == words_.size(); }
  // The words taken so far, for messages.
  std::string said() const {
    std::string text;
    for (std::size_t i = 0; i < next_; ++i) {
      const Word& w = words_[i];
      text += (i > 0 ? " " : "") + (w.quoted ? "\"" + w.text + "\"" : w.text);
    }
    return text;
  }

  bool takeIf(const char* keyword) {
    if (done() || words_[next_].quoted || !platform::equalNoCase(words_[next_].text, keyword)) {
      return false;
    }
    ++next_;
    return true;
  }

  void expectKeyword(const char* keyword) {
    const std::string after = said();
    if (!takeIf(keyword)) fail(std::string("expected '") + keyword + "' after '" + after + "'");
  }

  const Word* peek() const { return done() ? nullptr : &words_[next_]; }

  std::string word(const std::string& what) {
    if (done()) fail("expected " + what + " after '" + said() + "'");
    return words_[next_++].text;
  }

  double number(const std::string& what) {
    const std::string after = said();
    const std::string text = word(what);
    const std::optional<double> value = toNumber(text);
    if (!value || !std::isfinite(*value)) {
      fail("expected " + what + " after '" + after + "', found '" + text + "'");
    }
    return *value;
  }

  double seconds() {
    const std::string after = said();
    const double value = number("a time in seconds");
    if (!(value >= 0.0)) fail("expected a time in seconds, 0 or more, after '" + after + "'");
    return value;
  }

  // A bare name, or "(X:NAME[:index], unit)" of any kind a script may name.
  StepVariable variable() {
    const std::string after = said();
    const std::string text = word("a variable name");
    if (text.front() != '(') return {gauges::VariableName{'L', text, 0, "", false}, true};
    const std::optional<gauges::VariableName> name = gauges::parseVariableName(text);
    if (!name) {
      fail("expected a variable after '" + after + "', found '" + text +
           "': a bare name, or (X:NAME, unit) as gauges write it");
    }
    if (name->write) fail("'" + text + "' is a gauge's write: name the variable without '>'");
    if (const std::string why = unnamedKind(*name); !why.empty()) fail(why);
    return {*name, false};
  }

  void end() {
    if (!done()) fail("unexpected '" + words_[next_].text + "' after '" + said() + "'");
  }

  [[noreturn]] void fail(const std::string& message) const {
    throw ScriptError(file_, line_, message);
  }

 private:
  const std::string& file_;
  int line_;
  Words words_;
  std::size_t next_ = 0;
};

static_assert(std::string_view(keyword::kGlobalDll) == kGlobalDllName);

std::string commandList() {
  using namespace keyword;
  std::string list;
  for (const char* command :
       {kSet, kExpect, kWait, kRamp, kClick, kEvent, kOpen, kClose, kSound, kLoad, kUnload}) {
    list += (list.empty() ? "" : ", ") + std::string(command);
  }
  return list;
}

std::string formatSeconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g s", seconds);
  return text;
}

// "12,30" or "12, 30": a point in the gauge's pixels.
void readPoint(LineReader& in, gauges::AreaChoice& area) {
  const std::string after = in.said();
  std::string text = in.word("a point X,Y");
  if (!text.empty() && text.back() == ',' && !in.done()) text += in.word("a point X,Y");
  const std::size_t comma = text.find(',');
  const std::optional<double> x = toNumber(text.substr(0, comma));
  const std::optional<double> y =
      comma == std::string::npos ? std::nullopt : toNumber(text.substr(comma + 1));
  if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) {
    in.fail("expected a point X,Y after '" + after + "', found '" + text +
            "' (a gauge whose name holds 'at' or 'as' is written in quotes: click \"FILE!NAME\")");
  }
  area.by = gauges::AreaChoice::By::kPoint;
  area.x = *x;
  area.y = *y;
}

// What ends a gauge's name written without quotes: the area's tooltip or
// number, a point, a mouse kind.
bool endsGaugeName(const Word& word) {
  return word.quoted || word.text.front() == keyword::kAreaNumber ||
         platform::equalNoCase(word.text, keyword::kAt) ||
         platform::equalNoCase(word.text, keyword::kAs);
}

// A gauge's name may hold blanks. Without quotes it runs up to what ends it
// (endsGaugeName), its words joined by one blank; in quotes it is taken whole.
std::string readGaugeName(LineReader& in) {
  const std::string after = in.said();
  const bool quoted = in.peek() != nullptr && in.peek()->quoted;
  std::string name = in.word("a gauge (FILE!NAME or WINDOW/FILE!NAME)");
  while (!quoted && in.peek() != nullptr && !endsGaugeName(*in.peek())) {
    name += " " + in.word("a gauge");
  }
  if (name.find('!') == std::string::npos || name.back() == '!') {
    in.fail("expected a gauge as FILE!NAME or WINDOW/FILE!NAME after '" + after + "', found '" +
            name + "'");
  }
  return name;
}

// click GAUGE [ "TOOLTIP" | #N | at X,Y ] [as KIND]
void readClick(LineReader& in, Step& step) {
  step.target = readGaugeName(in);
  using By = gauges::AreaChoice::By;
  if (const Word* next = in.peek(); next != nullptr && next->quoted) {
    step.area.by = By::kTooltip;
    step.area.tooltip = in.word("a tooltip");
  } else if (next != nullptr && next->text.front() == keyword::kAreaNumber) {
    const std::string number = in.word("an area's number");
    step.area.by = By::kNumber;
    step.area.number = std::atoi(number.c_str() + 1);
    if (step.area.number < 1) in.fail("areas are counted from #1, found '" + number + "'");
  } else if (in.takeIf(keyword::kAt)) {
    readPoint(in, step.area);
  }
  if (in.takeIf(keyword::kAs)) step.mouseKind = in.word("a mouse kind (LeftSingle, Leave...)");
}

// One command, after the line's optional "at TIME".
Step readCommand(LineReader& in, Step step) {
  using namespace keyword;
  const std::string command = in.word("a command (" + commandList() + ")");
  auto is = [&](const char* name) { return platform::equalNoCase(command, name); };
  if (is(kSet) || is(kExpect)) {
    step.action = is(kSet) ? Action::kSet : Action::kExpect;
    step.variable = in.variable();
    step.value = in.number("a number");
  } else if (is(kWait) && in.takeIf(kUntil)) {
    step.action = Action::kWaitUntil;
    step.variable = in.variable();
    step.value = in.number("a number");
    in.expectKeyword(kWithin);
    step.seconds = in.seconds();
  } else if (is(kWait)) {
    step.action = Action::kWait;
    step.seconds = in.seconds();
  } else if (is(kRamp)) {
    step.action = Action::kRamp;
    step.variable = in.variable();
    in.expectKeyword(kTo);
    step.value = in.number("a number");
    in.expectKeyword(kOver);
    step.seconds = in.seconds();
  } else if (is(kClick)) {
    step.action = Action::kClick;
    readClick(in, step);
  } else if (is(kEvent)) {
    step.action = Action::kEvent;
    step.target = in.word("an event's name");
    if (!in.done()) step.value = in.number("a number");
  } else if (is(kOpen) || is(kClose)) {
    step.action = is(kOpen) ? Action::kOpenWindow : Action::kCloseWindow;
    step.target = in.word("a window (its section, Window01, or its ident)");
  } else if (is(kSound)) {
    if (in.takeIf(kOn)) {
      step.action = Action::kSoundOn;
    } else if (in.takeIf(kOff)) {
      step.action = Action::kSoundOff;
    } else {
      in.fail(std::string("expected '") + kOn + "' or '" + kOff + "' after '" + kSound + "'");
    }
  } else if (is(kLoad) || is(kUnload)) {
    step.action = is(kLoad) ? Action::kLoadGlobal : Action::kUnloadGlobal;
    in.expectKeyword(kGlobalDll);
  } else {
    in.fail("expected a command (" + commandList() + "), found '" + command + "'");
  }
  in.end();
  return step;
}

}  // namespace

Script parseScript(const std::string& file, std::string_view text) {
  Script script{file, {}};
  double lastAt = 0.0;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++number;

    LineReader in(file, number, LineSplitter(file, number).split(line));
    if (in.done()) continue;
    Step step{number, Step::kRightAfter, Action::kSet, {}};
    if (in.takeIf(keyword::kAt)) {
      step.at = in.seconds();
      if (step.at < lastAt) {
        in.fail("'" + in.said() + "' goes back in time: an earlier line runs at " +
                formatSeconds(lastAt));
      }
      lastAt = step.at;
    }
    script.steps.push_back(readCommand(in, step));
  }
  return script;
}

void requireNoPanelSteps(const Script& script) {
  for (const Step& step : script.steps) {
    if (!needsPanel(step)) continue;
    const std::string what = step.variable.panelVariable()
                                 ? "'" + stepText(step, Digits::kShort) + "'"
                                 : "'" + gauges::variableText(step.variable.name) + "'";
    throw ScriptError(script.file, step.line,
                      what + " needs the panel's gauges and aircraft: run with --panel PANEL.CFG");
  }
}

}  // namespace vorlanex::tool
