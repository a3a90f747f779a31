#include "ini_values.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "config/volume_percent.h"
#include "platform/portable/ini_text.h"
#include "text.h"

namespace vorlanex::panel {
namespace {

// The module reads every text value into a 128-byte buffer and MaxSounds
// into a 5-byte one.
constexpr std::size_t kValueLimit = 127;
constexpr std::size_t kMaxSoundsLimit = 4;

void report(Problems& out, Severity severity, const ValueSite& site, std::string message) {
  out.push_back({severity, site.file, site.line, site.key, std::move(message)});
}

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// Authors write "value ; remark" expecting a comment; Windows keeps it all.
void checkNoTrailingComment(const ValueSite& site, std::string_view value, Problems& out) {
  const auto semicolon = value.find(';');
  if (semicolon == std::string_view::npos || semicolon == 0) return;
  if (value[semicolon - 1] != ' ' && value[semicolon - 1] != '\t') return;
  report(out, Severity::kWarning, site,
         "';' starts no comment at the end of a line: the value is " + quoted(value));
}

// The value as the module's buffer holds it.
std::string_view cutValue(const ValueSite& site, std::string_view value, Problems& out) {
  if (value.size() <= kValueLimit) return value;
  report(out, Severity::kError, site,
         "the value is " + std::to_string(value.size()) +
             " characters long: the module keeps only the first 127");
  return value.substr(0, kValueLimit);
}

// Whether atoi finds a number at the start of `text`.
bool startsWithNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

void checkVolume(const ValueSite& site, std::string_view text, Problems& out) {
  const std::string volume(text);
  char* end = nullptr;
  const double percent = std::strtod(volume.c_str(), &end);  // as atof reads it
  if (end == volume.c_str()) {
    report(out, Severity::kWarning, site,
           "nothing after the comma reads as a number: the volume is 0 %, silent");
  } else if (!(percent >= 0.0 && percent <= 100.0)) {
    // What the module stores: above 100 % full volume, below 0 % silent.
    const bool full = percentToHundredths(percent) == 0.0;
    report(out, Severity::kWarning, site,
           "volume " + shortNumber(percent) + " % is outside 0 to 100: the sound plays " +
               (full ? "at full volume (100 %)" : "silent (0 %)"));
  }
}

}  // namespace

void checkMaxSounds(const ValueSite& site, std::string_view value, Problems& out) {
  checkNoTrailingComment(site, value, out);
  const std::string_view read = value.substr(0, kMaxSoundsLimit);
  const int count = std::atoi(std::string(read).c_str());
  if (value.size() > kMaxSoundsLimit) {
    report(out, Severity::kWarning, site,
           "MaxSounds " + quoted(value) + " is longer than 4 characters: the module reads only " +
               quoted(read));
  }
  if (read.empty()) {
    report(out, Severity::kError, site, "MaxSounds is empty: the module configures no sounds");
  } else if (!startsWithNumber(read)) {
    report(out, Severity::kError, site,
           "MaxSounds " + quoted(read) + " is not a number: the module configures no sounds");
  } else if (count < 0) {
    report(out, Severity::kError, site,
           "MaxSounds " + std::to_string(count) + " is negative: the module configures no sounds");
  } else if (count > 100) {
    report(out, Severity::kWarning, site,
           "MaxSounds " + std::to_string(count) + " is over 100: the module configures 100 sounds");
  }
}

void checkErrorFlag(const ValueSite& site, std::string_view value, Problems& out) {
  checkNoTrailingComment(site, value, out);
  if (value.empty()) return;  // the default, 0
  const std::int32_t flag = platform::profileValueToInt(value);
  if (flag == -1 || (flag == 0 && startsWithNumber(value))) return;
  report(out, Severity::kWarning, site,
         "ErrorFlag " + quoted(value) +
             " means 0: only -1 makes a missing WAV file write -1 into its sound's variable");
}

void checkVariableName(const ValueSite& site, std::string_view value, Problems& out) {
  checkNoTrailingComment(site, value, out);
  cutValue(site, value, out);
}

void checkSoundEntry(const ValueSite& site, std::string_view value, Problems& out) {
  checkNoTrailingComment(site, value, out);
  const std::string_view entry = cutValue(site, value, out);
  const auto comma = entry.find(',');
  if (comma == std::string_view::npos) return;
  const std::string_view path = entry.substr(0, comma);
  if (path.empty()) {
    report(out, Severity::kError, site,
           "no WAV path before the comma: the sound's file can never be found");
  } else if (path.back() == ' ' || path.back() == '\t') {
    report(out, Severity::kWarning, site,
           "the WAV path " + quoted(path) + " ends in a blank, which is part of the file name");
  }
  checkVolume(site, entry.substr(comma + 1), out);
}

}  // namespace vorlanex::panel
