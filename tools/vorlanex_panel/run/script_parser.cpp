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

using Words = std::vector<std::string>;

// The words of a line, without its comment ('#' to the end of the line).
Words split(std::string_view line) {
  line = line.substr(0, line.find('#'));
  Words words;
  std::size_t start = 0;
  while ((start = line.find_first_not_of(" \t\r", start)) != std::string_view::npos) {
    const std::size_t end = line.find_first_of(" \t\r", start);
    words.emplace_back(line.substr(start, end - start));
    start = end;
  }
  return words;
}

std::optional<double> toNumber(const std::string& word) {
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0') return std::nullopt;
  return value;
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
    for (std::size_t i = 0; i < next_; ++i) text += (i > 0 ? " " : "") + words_[i];
    return text;
  }

  bool takeIf(const char* keyword) {
    if (done() || !platform::equalNoCase(words_[next_], keyword)) return false;
    ++next_;
    return true;
  }

  void expectKeyword(const char* keyword, const std::string& after) {
    if (!takeIf(keyword)) fail(std::string("expected '") + keyword + "' after '" + after + "'");
  }

  std::string word(const std::string& what, const std::string& after) {
    if (done()) fail("expected " + what + " after '" + after + "'");
    return words_[next_++];
  }

  double number(const std::string& what, const std::string& after) {
    const std::string text = word(what, after);
    const std::optional<double> value = toNumber(text);
    if (!value) fail("expected " + what + " after '" + after + "', found '" + text + "'");
    return *value;
  }

  double seconds(const std::string& after) {
    const double value = number("a time in seconds", after);
    if (!(value >= 0.0 && std::isfinite(value))) {
      fail("expected a time in seconds, 0 or more, after '" + after + "'");
    }
    return value;
  }

  void end() {
    if (!done()) fail("unexpected '" + words_[next_] + "' after '" + said() + "'");
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

const std::string kCommands = std::string(keyword::kSet) + ", " + keyword::kExpect + ", " +
                              keyword::kWait + ", " + keyword::kSound + ", " + keyword::kLoad +
                              ", " + keyword::kUnload;

std::string formatSeconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g s", seconds);
  return text;
}

// One command, after the line's optional "at TIME".
Step readCommand(LineReader& in, Step step) {
  using namespace keyword;
  const std::string command = in.word("a command (" + kCommands + ")", in.said());
  auto is = [&](const char* name) { return platform::equalNoCase(command, name); };
  if (is(kSet) || is(kExpect)) {
    step.action = is(kSet) ? Action::kSet : Action::kExpect;
    step.variable = in.word("a variable name", in.said());
    step.value = in.number("a number", in.said());
  } else if (is(kWait) && in.takeIf(kUntil)) {
    step.action = Action::kWaitUntil;
    step.variable = in.word("a variable name", in.said());
    step.value = in.number("a number", in.said());
    in.expectKeyword(kWithin, in.said());
    step.seconds = in.seconds(in.said());
  } else if (is(kWait)) {
    step.action = Action::kWait;
    step.seconds = in.seconds(in.said());
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
    in.expectKeyword(kGlobalDll, in.said());
  } else {
    in.fail("expected a command (" + kCommands + "), found '" + command + "'");
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

    LineReader in(file, number, split(line));
    if (in.done()) continue;
    Step step{number, Step::kRightAfter, Action::kSet, {}};
    if (in.takeIf(keyword::kAt)) {
      step.at = in.seconds(in.said());
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

}  // namespace vorlanex::tool
