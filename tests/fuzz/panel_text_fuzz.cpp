// libFuzzer harness for the panel tool's readers of authors' files: whatever
// bytes an INI file, a panel.cfg, an XML gauge or a run script holds, the
// check and the script parser must report, never crash.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ini_scan.h"
#include "panel_cfg.h"
#include "platform/portable/ini_text.h"
#include "script_parser.h"
#include "xml_gauge.h"

namespace {

// Every value the profile lookup finds must come from a line the check
// counts as read: the two cannot disagree about which line Windows uses.
void agree(std::string_view text, const vorlanex::tool::IniScan& scan, const char* section,
           const char* key) {
  if (vorlanex::platform::findProfileValue(text, section, key) && scan.keys.lineOf(key) == 0) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static vorlanex::SoundTable table{};
  table.soundCount = size > 0 ? data[0] % 101 : 0;
  const std::string file = "fuzz.ini";
  const vorlanex::tool::IniScan scan = vorlanex::tool::scanIniText(file, text, table);
  agree(text, scan, "Config", "MaxSounds");
  agree(text, scan, "Config", "LvarStop");
  if (table.soundCount > 0) {
    agree(text, scan, "Sounds", "Sound00");
    agree(text, scan, "LVars", "Lvar00");
  }
  vorlanex::tool::checkPanelConfig(file, text);
  vorlanex::tool::readPanelLayout(text);
  // Every variable found stands on a line of the file.
  const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  for (const vorlanex::tool::ScriptUse& use : vorlanex::tool::scanXmlGauge(std::string(text)).uses) {
    if (use.line < 1 || use.line > lines || use.use.name.empty()) __builtin_trap();
  }
  try {
    vorlanex::tool::parseScript(file, text);
  } catch (const vorlanex::tool::ScriptError&) {
  }
  return 0;
}
