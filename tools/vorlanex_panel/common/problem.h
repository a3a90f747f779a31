// What `check` tells a panel author: one problem of a panel file, at a key and
// a line where it has one.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace vorlanex::tool {

enum class Severity {
  kNote,     // worth knowing; the panel may well be right
  kWarning,  // probably not what the author meant, but the panel works as written
  kError,    // the module will not do what the file says
};

struct Problem {
  Severity severity;
  std::string file;
  int line;         // 1-based; 0 when the problem has no line of its own
  std::string key;  // the key, section or gauge concerned; may be empty
  std::string message;
};

using Problems = std::vector<Problem>;

// The line of every key the module reads from the file, by its canonical
// name ("MaxSounds", "Sound03", "Lvar03", "LvarStop").
class KeyLines {
 public:
  void add(const std::string& key, int line) { lines_.emplace(key, line); }
  // 0 when the file does not give the key (the module takes its default).
  int lineOf(const std::string& key) const;

 private:
  std::map<std::string, int> lines_;
};

// check's exit status: 0 clean (notes at most), 1 warnings only, 2 with errors.
int exitStatusFor(const Problems& problems);

// "file:line: severity: key: message", the way compilers report, so editors
// can jump to the line: one line, whatever line breaks the message quotes.
std::string formatProblem(const Problem& problem);

const char* severityName(Severity severity);

}  // namespace vorlanex::tool
