// An XML gauge's scripts, read with rapidxml, and the L: variables in them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "variable_scan.h"

namespace vorlanex::tool {

// One variable use with where it stands in the gauge's file.
struct ScriptUse {
  VariableUse use;
  int line = 0;         // of the file, 1-based
  std::string excerpt;  // the script's line holding it, trimmed and cut short
};

struct XmlGaugeScan {
  std::vector<ScriptUse> uses;
  // Why the file is no well-formed XML, with the parser's line. A closing tag
  // naming another element than the one it closes is read leniently, as the
  // simulator's reader would; after other faults the raw text was scanned.
  std::optional<std::string> parseError;
  int parseErrorLine = 0;
  bool scannedAsText = false;
};

// Scans every text of the gauge (element values and CDATA, with the gauge's
// macros expanded where they are used) for L: variable reads and writes.
XmlGaugeScan scanXmlGauge(const std::string& text);

}  // namespace vorlanex::tool
