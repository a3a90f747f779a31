// Parsing kernel of the portable profile (INI) reader: pure functions over
// the whole text of a file, with the rules of the Windows profile functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vorlanex::platform {

// One line of a profile file as the Windows profile functions see it.
struct ProfileLine {
  enum class Kind { kBlank, kComment, kSection, kKey };
  Kind kind;
  // Counted as an editor counts lines: CR, LF and CRLF each end one line.
  int number;
  std::string_view text;  // the line without its surrounding blanks
  // The section's name (its header trimmed, up to the first ']'), or the key
  // (the text before the first '=', trailing blanks removed).
  std::string_view name;
  // A key line's value: the text after the '=', leading blanks removed (outer
  // quotes kept); nothing for a line without '='.
  std::optional<std::string_view> value;
};

// Reads the lines of a profile file's text one by one, with the rules the
// lookup below uses, so that tools can see which line gives which value.
class ProfileLineReader {
 public:
  explicit ProfileLineReader(std::string_view text) : rest_(text) {}
  // Fills `line` with the next line; false at the end of the text.
  bool next(ProfileLine& line);

 private:
  std::string_view rest_;
  int number_ = 0;
  char lastEnd_ = '\0';
};

// The value of `key` in the first section named `section` of a profile file's
// text, as written after the '=' (outer quotes kept). Names match without
// regard to ASCII case and their surrounding blanks. Empty when the section or
// the key is missing or the first line of that key has no '='.
std::optional<std::string_view> findProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key);

// The value with one outer pair of matching quotes (' or ") removed.
std::string_view unquoteProfileValue(std::string_view value);

// The integer GetPrivateProfileIntA makes of a non-empty value: the leading
// number after blanks, an optional sign and a base prefix ("0x", "0o", "0b"),
// 0 when there is none, wrapping modulo 2^32.
std::int32_t profileValueToInt(std::string_view value);

}  // namespace vorlanex::platform
