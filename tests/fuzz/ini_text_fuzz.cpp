// libFuzzer harness for the INI text kernel: any bytes a panel author's editor
// may produce must be looked up without a crash, and a value found must lie
// inside the text it came from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/portable/ini_text.h"

namespace {

void lookUp(std::string_view text, std::string_view section, std::string_view key) {
  const auto value = vorlanex::platform::findProfileValue(text, section, key);
  if (!value) return;
  const bool inside = value->data() >= text.data() &&
                      value->data() + value->size() <= text.data() + text.size();
  if (!value->empty() && !inside) std::abort();
  const std::string_view unquoted = vorlanex::platform::unquoteProfileValue(*value);
  if (unquoted.size() > value->size()) std::abort();
  if (!unquoted.empty()) vorlanex::platform::profileValueToInt(unquoted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  lookUp(text, "Config", "MaxSounds");
  lookUp(text, "Sounds", "Sound00");
  lookUp(text, "", "");
  vorlanex::platform::profileValueToInt(text);
  return 0;
}
