// Text files as Windows programs save them: a panel.cfg or an XML gauge may
// be UTF-16 with a byte-order mark (as the simulator's SDK samples are), or
// UTF-8 with one.
#pragma once

#include <string>

namespace vorlanex::tool {

struct DecodedText {
  std::string text;     // UTF-8, or the bytes as they stand when they carry no mark
  std::string problem;  // why they cannot be decoded; empty when they can
};

// UTF-16 LE or BE with its byte-order mark becomes UTF-8, and UTF-8's mark is
// dropped; bytes without a mark (ANSI, UTF-8) are taken as they stand. UTF-16
// with an odd number of bytes or an unpaired surrogate cannot be decoded.
DecodedText decodeText(std::string bytes);

// The decoded text of the file named `shown`; throws std::runtime_error
// "cannot read SHOWN: ..." when it cannot be decoded.
std::string decodedTextOf(std::string bytes, const std::string& shown);

}  // namespace vorlanex::tool
