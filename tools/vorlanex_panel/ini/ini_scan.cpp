#include "ini_scan.h"

#include <cstdio>
#include <optional>

#include "config/ini_layout.h"
#include "ini_values.h"
#include "plain_text.h"
#include "platform/portable/ascii_case.h"
#include "platform/portable/ini_text.h"
#include "report_text.h"

namespace vorlanex::tool {
namespace {

using platform::ProfileLine;

enum class SectionKind { kConfig, kSounds, kLVars, kUnknown };

SectionKind sectionKind(std::string_view name) {
  if (platform::equalNoCase(name, ini::kConfigSection)) return SectionKind::kConfig;
  if (platform::equalNoCase(name, ini::kSoundsSection)) return SectionKind::kSounds;
  if (platform::equalNoCase(name, ini::kVariablesSection)) return SectionKind::kLVars;
  return SectionKind::kUnknown;
}

// The number after `prefix` in a key such as "Sound05", with its digit count;
// nothing when the key is not the prefix followed by digits only.
struct KeyIndex {
  int value;
  std::size_t digits;
};
std::optional<KeyIndex> keyIndex(std::string_view key, std::string_view prefix) {
  if (key.size() <= prefix.size() || !platform::equalNoCase(key.substr(0, prefix.size()), prefix))
    return std::nullopt;
  const std::string_view digits = key.substr(prefix.size());
  int value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    if (value < 1000) value = value * 10 + (c - '0');  // large enough to be out of range
  }
  return KeyIndex{value, digits.size()};
}

class Scanner {
 public:
  Scanner(const std::string& file, const SoundTable& table, bool byteOrderMark)
      : file_(file), table_(table), byteOrderMark_(byteOrderMark) {}

  void line(const ProfileLine& line) {
    if (line.kind == ProfileLine::Kind::kSection) section(line);
    if (line.kind == ProfileLine::Kind::kKey) key(line);
  }

  IniScan result() { return std::move(result_); }

  void error(int line, std::string message) {
    result_.problems.push_back({Severity::kError, file_, line, "", std::move(message)});
  }

 private:
  void warn(const ProfileLine& line, std::string key, std::string message) {
    result_.problems.push_back(
        {Severity::kWarning, file_, line.number, std::move(key), std::move(message)});
  }

  void section(const ProfileLine& line) {
    const std::string name = "[" + std::string(line.name) + "]";
    inSection_ = true;
    keys_.clear();
    kind_ = sectionKind(line.name);
    const auto closing = line.text.find(']');
    if (closing != std::string_view::npos && closing + 1 < line.text.size()) {
      warn(line, name,
           "the text after ']' is ignored: '" + std::string(line.text.substr(closing + 1)) +
               "' defines nothing");
    }
    const auto [first, isNew] = sections_.emplace(lowerCase(line.name), line.number);
    readable_ = isNew && kind_ != SectionKind::kUnknown;
    if (!isNew) {
      warn(line, name,
           "section " + name + " repeats line " + std::to_string(first->second) +
               ": Windows reads only the first, so nothing in this one is read");
    } else if (kind_ == SectionKind::kUnknown) {
      warn(line, name,
           "section " + name + " is never read: the module reads [Config], [Sounds] and [LVars]");
    }
  }

  void key(const ProfileLine& line) {
    const std::string key(line.name);
    if (!inSection_) {
      if (byteOrderMark_ && line.number == 1) return;  // reported as such
      warn(line, key, "this line stands before the first section and is never read");
      return;
    }
    if (!readable_) return;  // its section has been reported
    const auto [first, isNew] = keys_.emplace(lowerCase(line.name), line.number);
    if (!isNew) {
      warn(line, key, "repeats line " + std::to_string(first->second) + ": only the first is read");
      return;
    }
    const std::optional<std::string> canonical = readKey(line, key);
    if (!canonical) return;
    result_.keys.add(*canonical, line.number);
    if (!line.value) {
      warn(line, key, "the line has no '=': the module takes the default");
      return;
    }
    checkValue(*canonical, {file_, line.number, key}, platform::unquoteProfileValue(*line.value));
  }

  // The canonical name of a key the module reads, or nothing (reported) for
  // a key it never reads.
  std::optional<std::string> readKey(const ProfileLine& line, const std::string& key) {
    if (kind_ == SectionKind::kConfig) {
      for (const char* known : {ini::kMaxSoundsKey, ini::kErrorFlagKey, ini::kStopVariableKey}) {
        if (platform::equalNoCase(key, known)) return std::string(known);
      }
      warn(line, key,
           "unknown key in [Config], never read: the module reads MaxSounds, ErrorFlag and "
           "LvarStop");
      return std::nullopt;
    }
    const char* prefix =
        kind_ == SectionKind::kSounds ? ini::kSoundKeyPrefix : ini::kVariableKeyPrefix;
    const std::optional<KeyIndex> index = keyIndex(key, prefix);
    if (!index) {
      warn(line, key,
           std::string("unknown key in [") +
               (kind_ == SectionKind::kSounds ? ini::kSoundsSection : ini::kVariablesSection) +
               "], never read: its keys are " + prefix + "00 to " + prefix + "99");
      return std::nullopt;
    }
    if (index->digits != 2) {
      std::string message =
          std::string("never read: the keys have two digits, ") + prefix + "00 to " + prefix + "99";
      if (index->value < 100) message += " (" + indexedKey(prefix, index->value) + ")";
      warn(line, key, message);
      return std::nullopt;
    }
    if (index->value >= table_.soundCount) {
      warn(line, key, "never read: " + soundCountText());
      return std::nullopt;
    }
    return indexedKey(prefix, index->value);
  }

  std::string soundCountText() const {
    const int count = table_.soundCount;
    if (count == 0) return "MaxSounds gives no sounds";
    return "MaxSounds gives " + std::to_string(count) + (count == 1 ? " sound" : " sounds") +
           ", 00 to " + indexedKey("", count - 1);
  }

  void checkValue(const std::string& canonical, const ValueSite& site, std::string_view value) {
    Problems& out = result_.problems;
    if (canonical == ini::kMaxSoundsKey) {
      checkMaxSounds(site, value, out);
    } else if (canonical == ini::kErrorFlagKey) {
      checkErrorFlag(site, value, out);
    } else if (kind_ == SectionKind::kSounds) {
      checkSoundEntry(site, value, out);
    } else {
      checkVariableName(site, value, out);  // LvarStop and the LVars entries
    }
  }

  const std::string& file_;
  const SoundTable& table_;
  IniScan result_;
  std::map<std::string, int> sections_;  // first line of each section name
  std::map<std::string, int> keys_;      // first line of each key in this section
  bool byteOrderMark_;
  bool inSection_ = false;
  bool readable_ = false;
  SectionKind kind_ = SectionKind::kUnknown;
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

IniScan scanIniText(const std::string& file, std::string_view text, const SoundTable& table) {
  const bool byteOrderMark = text.substr(0, kByteOrderMark.size()) == kByteOrderMark;
  Scanner scanner(file, table, byteOrderMark);
  if (byteOrderMark) {
    scanner.error(1,
                  "the file starts with a UTF-8 byte-order mark, which Windows does not "
                  "understand: line 1 is not read as written");
  }
  platform::ProfileLineReader lines(text);
  ProfileLine line;
  while (lines.next(line)) scanner.line(line);
  return scanner.result();
}

}  // namespace vorlanex::tool
