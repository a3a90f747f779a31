// Where a gauge script stands, and what running or reading it found: the
// simulator runs sloppy scripts without a word, so each oddity becomes a
// finding with its file, line and text instead of an error.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace vorlanex::gauges {

struct ScriptSite {
  std::string gauge;    // "cabin!door_switch", as its files spell it; empty for a lone file
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
// Every message is one line.
class Findings {
 public:
  // False when the same finding was told before.
  bool add(const ScriptSite& site, std::string message);
  // A use of something the tool does not simulate: `kind` ("C: variables")
  // and what it does instead ("reads give 0"). Each gauge file is told of a
  // kind once, at its first use, with the count of its uses: a gauge reading
  // 200 C: variables gets one finding, not 200. A file that several gauge
  // lines load counts the uses of the first line's instance only.
  void addUnsimulated(const ScriptSite& site, const std::string& kind, const std::string& instead);
  const std::vector<Finding>& all() const { return all_; }
  bool empty() const { return all_.empty(); }

 private:
  struct Unsimulated {
    std::size_t finding;  // its index in all_
    std::string gauge;    // the gauge line whose uses are counted
    int uses;
  };

  std::vector<Finding> all_;
  std::set<std::tuple<std::string, int, std::string>> seen_;
  std::map<std::pair<std::string, std::string>, Unsimulated> unsimulated_;  // by file and kind
};

}  // namespace vorlanex::gauges
