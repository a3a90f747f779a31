#include "ini_values.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "config/ini_layout.h"
#include "config/slot_table.h"
#include "config/volume_percent.h"
#include "platform/portable/ini_text.h"
#include "report_text.h"

namespace vorlanex::tool {
namespace {

constexpr auto kValueLimit = static_cast<std::size_t>(ini::kValueLength);
constexpr auto kMaxSoundsLimit = static_cast<std::size_t>(ini::kMaxSoundsLength);
const std::string kMaxSoundsName = ini::kMaxSoundsKey;

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
             " characters long: the module keeps only the first " + std::to_string(kValueLimit));
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
           kMaxSoundsName + " " + quoted(value) + " is longer than " + std::to_string(kMaxSoundsLimit) +
               " characters: the module reads only " + quoted(read));
  }
  const std::string most = std::to_string(vorlanex::kMaxSounds);
  if (read.empty()) {
    report(out, Severity::kError, site, kMaxSoundsName + " is empty: the module configures no sounds");
  } else if (!startsWithNumber(read)) {
    report(out, Severity::kError, site,
           kMaxSoundsName + " " + quoted(read) + " is not a number: the module configures no sounds");
  } else if (count < 0) {
    report(out, Severity::kError, site,
           kMaxSoundsName + " " + std::to_string(count) + " is negative: the module configures no sounds");
  } else if (count > vorlanex::kMaxSounds) {
    report(out, Severity::kWarning, site,
           kMaxSoundsName + " " + std::to_string(count) + " is over " + most +
               ": the module configures " + most + " sounds");
  }
}

void checkErrorFlag(const ValueSite& site, std::string_view value, Problems& out) {
  checkNoTrailingComment(site, value, out);
  if (value.empty()) return;  // the default, 0
  const std::int32_t flag = platform::profileValueToInt(value);
  if (ini::errorValueFor(flag) == -1 || (flag == 0 && startsWithNumber(value))) return;
  report(out, Severity::kWarning, site,
         std::string(ini::kErrorFlagKey) + " " + quoted(value) +
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
  } else if (path.back() == ' ' || path.back() == '.') {
    // Windows reads a file name without them, and so does our stand-in.
    const std::string_view opened = path.substr(0, path.find_last_not_of(". ") + 1);
    report(out, Severity::kWarning, site,
           "the WAV path " + quoted(path) + " ends in blanks or dots, which Windows drops: the "
           "module opens " + quoted(opened));
  } else if (path.back() == '\t') {
    report(out, Severity::kWarning, site,
           "the WAV path " + quoted(path) + " ends in a tab, which is part of the file name");
  }
  checkVolume(site, entry.substr(comma + 1), out);
}

}  // namespace vorlanex::tool
