// The line-level check of the module's INI file: which lines the module
// reaches, with the Windows profile rules our INI kernel follows, and what the
// values it reads will do.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "config/slot_table.h"
#include "problem.h"

namespace vorlanex::panel {

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

struct IniScan {
  Problems problems;
  KeyLines keys;
};

// Scans the text of the INI file `file` as the module reads it into `table`
// (the table the module made of the same text: it decides how many sounds
// there are).
IniScan scanIniText(const std::string& file, std::string_view text, const SoundTable& table);

}  // namespace vorlanex::panel
