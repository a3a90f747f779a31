// Reading a run script; see the README for the language.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "script.h"

namespace vorlanex::tool {

// A line of the script that cannot be read, or a step that cannot be carried
// out: its what() is "FILE:LINE: message".
class ScriptError : public std::runtime_error {
 public:
  ScriptError(const std::string& file, int line, const std::string& message)
      : std::runtime_error(file + ":" + std::to_string(line) + ": " + message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// Throws ScriptError at the first line that is not a step of the language.
Script parseScript(const std::string& file, std::string_view text);

// Throws ScriptError at the first step that needs the panel's gauges and the
// simulated aircraft (needsPanel), for a run without --panel.
void requireNoPanelSteps(const Script& script);

}  // namespace vorlanex::tool
