// The named panel variables an XML gauge's script reads and writes: the pure
// scanning kernel of the whole-panel check.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlanex::tool {

// One "(L:NAME, UNIT)" read or "(>L:NAME, UNIT)" write in a script.
struct VariableUse {
  bool write = false;
  std::string name;  // trimmed; may hold spaces
  std::string unit;  // trimmed; empty when the script gives none
  // A write's value when a number stands right before it ("2 (>L:fan, number)");
  // nothing when the value is computed.
  std::optional<double> constant;
  // A read compared with zero right after it ("(L:chime, number) 0 ==", or
  // "!"): a gauge waiting for a one-shot to hand its variable back.
  bool comparedWithZero = false;
  std::size_t offset = 0;  // of the opening parenthesis in the script
};

// Every L: variable the script reads or writes, in order. The script is the
// text as the simulator reads it (entities already decoded).
std::vector<VariableUse> scanScript(std::string_view script);

}  // namespace vorlanex::tool
