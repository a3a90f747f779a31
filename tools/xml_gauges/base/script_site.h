// Where a gauge script stands, and what running or reading it found: the
// simulator runs sloppy scripts without a word, so each oddity becomes a
// finding with its file, line and text instead of an error.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace vorlanex::gauges {

struct ScriptSite {
  std::string gauge;    // as panel.cfg names it, "cabin_switches!door_switch"; empty for a lone file
  std::string file;     // the XML file as shown to the author
  int line = 0;         // of the file, 1-based
  std::string excerpt;  // the script's text on that line, trimmed and cut short
};

// The site of a line of a script that stands on `script.line`: `lineOffset`
// lines further on, with `lineText` (the script's text on it) as the excerpt.
ScriptSite scriptLineSite(const ScriptSite& script, int lineOffset, std::string_view lineText);

struct Finding {
  ScriptSite site;
  std::string message;  // "unknown word 'foo'", "division by zero"
};

// Findings in the order found, each (file, line, message) once: a script
// that divides by zero in every frame is told once, not 18 times a second.
class Findings {
 public:
  // False when the same finding was told before.
  bool add(const ScriptSite& site, std::string message);
  const std::vector<Finding>& all() const { return all_; }
  bool empty() const { return all_.empty(); }

 private:
  std::vector<Finding> all_;
  std::set<std::tuple<std::string, int, std::string>> seen_;
};

}  // namespace vorlanex::gauges
