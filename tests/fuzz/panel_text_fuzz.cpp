// libFuzzer harness for the panel tool's readers of authors' files: whatever
// bytes an INI file, a panel.cfg or a run script holds, the check and the
// script parser must report, never crash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ini_scan.h"
#include "panel_cfg.h"
#include "script_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static vorlanex::SoundTable table{};
  table.soundCount = size > 0 ? data[0] % 101 : 0;
  const std::string file = "fuzz.ini";
  vorlanex::panel::scanIniText(file, text, table);
  vorlanex::panel::checkPanelConfig(file, text);
  try {
    vorlanex::panel::parseScript(file, text);
  } catch (const vorlanex::panel::ScriptError&) {
  }
  return 0;
}
