// A gauge's <Macro>s and their expansion: every "@Name" of a macro becomes its
// text, by plain substitution before the script is compiled, also inside
// parentheses as in "(>@g:name)". A macro whose text uses @1 to @9 takes
// arguments: "@Clear(L:Name)" gives its text with each @N the Nth argument,
// the arguments split at the commas outside inner parentheses and trimmed
// ("@Fit((@c:Length, meters))" has one). Without "(" after its name, or for a
// macro without @N, the "(" is the script's own.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vorlanex::gauges {

class MacroExpander {
 public:
  // Macros by lower-case name; their bodies' line breaks already made blanks,
  // so that a script's lines stay the file's.
  explicit MacroExpander(const std::map<std::string, std::string>& macros);

  // The script expanded, macros using macros included. Nothing when it grows
  // past the bounds (a macro using itself, or a huge one used many times),
  // with `problem` saying so: such a script is not run. An "@Name" of no
  // macro is left as written, for the compiler to tell.
  std::optional<std::string> expand(std::string_view script, std::string& problem);

  static constexpr int kMaxDepth = 8;                   // macros within macros
  static constexpr std::size_t kMaxScript = 1 << 16;    // one script, expanded
  static constexpr std::size_t kMaxGauge = 1 << 22;     // all of a gauge's scripts

 private:
  // One pass; false when nothing was replaced.
  bool expandOnce(const std::string& script, std::string& out) const;

  const std::map<std::string, std::string>& macros_;
  std::size_t spent_ = 0;  // characters produced for the gauge so far
};

}  // namespace vorlanex::gauges
