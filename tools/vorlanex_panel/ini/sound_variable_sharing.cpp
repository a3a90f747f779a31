#include "sound_variable_sharing.h"

#include <cstdio>
#include <map>

#include "config/ini_layout.h"
#include "report_text.h"

namespace vorlanex::tool {
namespace {

// The key that names sound `index`'s variable, or what stands for it when
// the variable is the default one.
Problem at(const std::string& file, const KeyLines& keys, const std::string& key, Severity severity,
           std::string message) {
  const int line = keys.lineOf(key);
  return {severity, file, line, line > 0 ? key : key + " (default)", std::move(message)};
}

}  // namespace

Problems checkSharedVariables(const std::string& file, const SoundTable& table,
                              const KeyLines& keys) {
  Problems problems;
  std::map<std::string, int> firstUser;
  for (int i = 0; i < table.soundCount; ++i) {
    const std::string name = table.slots[i].varName;
    const auto [first, isNew] = firstUser.emplace(name, i);
    if (isNew) continue;
    problems.push_back(at(file, keys, indexedKey(ini::kVariableKeyPrefix, i), Severity::kWarning,
                          "sounds " + indexedKey("", first->second) + " and " + indexedKey("", i) +
                              " share the variable '" + name +
                              "': one value drives both, and both write their state into it"));
  }
  const std::string stopAll = table.stopAll.varName;
  const auto sound = firstUser.find(stopAll);
  if (sound != firstUser.end()) {
    problems.push_back(at(file, keys, ini::kStopVariableKey, Severity::kError,
                          "the stop-all variable '" + stopAll + "' is also sound " +
                              indexedKey("", sound->second) +
                              "'s: playing that sound stops every sound"));
  }
  return problems;
}

}  // namespace vorlanex::tool
