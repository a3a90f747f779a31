#include "cross_check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "commands/command_value.h"
#include "config/ini_layout.h"
#include "panel/status_variables.h"
#include "name_typos.h"
#include "report_text.h"

namespace vorlanex::tool {
namespace {

// A variable the module reads, with the INI key that names it.
struct Target {
  enum class Kind { kSound, kStopAll, kMasterVolume, kStatus };
  Kind kind;
  int index;  // the sound's slot
  std::string variable;
  std::string key;
};

std::vector<Target> targetsOf(const SoundTable& table) {
  std::vector<Target> targets;
  for (int i = 0; i < table.soundCount; ++i) {
    targets.push_back({Target::Kind::kSound, i, table.slots[i].varName, indexedKey(ini::kVariableKeyPrefix, i)});
  }
  targets.push_back(
      {Target::Kind::kStopAll, table.soundCount, table.stopAll.varName, ini::kStopVariableKey});
  targets.push_back(
      {Target::Kind::kMasterVolume, -1, kMasterVolumeVariable, kMasterVolumeVariable});
  for (const char* status : {kVolumePlayedVariable, kSoundIndicatorVariable}) {
    targets.push_back({Target::Kind::kStatus, -1, status, status});
  }
  return targets;
}

const Target* exactTarget(const std::vector<Target>& targets, const std::string& name) {
  for (const Target& target : targets) {
    if (target.variable == name) return &target;
  }
  return nullptr;
}

const Target* nearTarget(const std::vector<Target>& targets, const std::string& name) {
  for (const Target& target : targets) {
    if (gauges::isProbableTypo(name, target.variable)) return &target;
  }
  return nullptr;
}

class CrossCheck {
 public:
  CrossCheck(const SoundTable& table, Problems& out) : table_(table), out_(out) {}

  void use(const PanelUse& use, const std::vector<Target>& targets) {
    const VariableUse& v = use.script.use;
    if (const Target* target = exactTarget(targets, v.name)) {
      if (v.write && v.constant) checkConstant(use, *target, *v.constant);
      if (!v.write && v.comparedWithZero && target->kind == Target::Kind::kSound &&
          table_.errorValue == -1) {
        report(use, Severity::kNote, *target,
               "waits for '" + v.name + "' to be handed back as 0, but with ErrorFlag=-1 a "
               "missing or unplayable WAV file leaves -1 in it: test for a value below 1");
      }
    } else if (const Target* target = nearTarget(targets, v.name)) {
      // Reads too: a gauge waiting on a misspelt status variable waits for ever.
      report(use, Severity::kWarning, *target,
             "'" + v.name + "' is no variable of the module: did you mean '" + target->variable +
                 "'?");
    }
  }

 private:
  void checkConstant(const PanelUse& use, const Target& target, double value) {
    const std::string written = "writes " + shortNumber(value) + " into '" + target.variable + "'";
    switch (target.kind) {
      case Target::Kind::kSound:
        return checkCommand(use, target, written, value);
      case Target::Kind::kStopAll:
        if (value < 0) {
          report(use, Severity::kWarning, target,
                 written + ": only a number above 0 stops the sounds; this does nothing");
        }
        return;
      case Target::Kind::kMasterVolume:
        if (value < 0 || value > 100) {
          report(use, Severity::kWarning, target,
                 written + ": the master volume is percent, 0 to 100; the module holds it to " +
                     (value < 0 ? "0, silent" : "100"));
        }
        return;
      case Target::Kind::kStatus:
        return;
    }
  }

  void checkCommand(const PanelUse& use, const Target& target, const std::string& written,
                    double value) {
    const std::int32_t whole = truncateToInt32(value);
    if (value != std::trunc(value)) {
      report(use, Severity::kWarning, target,
             written + ": the module cuts the fraction off and reads " + std::to_string(whole));
    }
    const DecodedCommand command = decodeCommand(whole);
    // The pan as written: the module holds one beyond full left or right there.
    const std::int32_t pan = writtenPan(whole);
    if (command.code < 0 || command.code > kCommandReportVolume) {
      report(use, Severity::kWarning, target,
             written + ": its last two digits, " + std::to_string(command.code) +
                 ", are no command (0 to 4), so the module does nothing");
    } else if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) {
      report(use, Severity::kWarning, target,
             written + ": pan " + std::to_string(pan) +
                 " is beyond " + std::to_string(DSBPAN_LEFT) + " to " + std::to_string(DSBPAN_RIGHT) +
                 " (the value is pan * 100 + code); the module holds "
                 "it at full " + (pan < 0 ? "left" : "right"));
    }
  }

  void report(const PanelUse& use, Severity severity, const Target& target, std::string message) {
    out_.push_back({severity, use.file, use.script.line, target.key,
                    std::move(message) + " (in: " + use.script.excerpt + ")"});
  }

  const SoundTable& table_;
  Problems& out_;
};

}  // namespace

Problems crossCheckPanel(const std::string& iniFile, const SoundTable& table,
                         const KeyLines& keys, const std::vector<PanelUse>& uses) {
  Problems problems;
  const std::vector<Target> targets = targetsOf(table);
  for (int i = 0; i < table.soundCount; ++i) {
    const std::string variable = table.slots[i].varName;
    const bool written = std::any_of(uses.begin(), uses.end(), [&](const PanelUse& use) {
      return use.script.use.write && use.script.use.name == variable;
    });
    if (written) continue;
    const std::string key = indexedKey(ini::kVariableKeyPrefix, i);
    const int line = keys.lineOf(key);
    problems.push_back({Severity::kWarning, iniFile, line, line > 0 ? key : key + " (default)",
                        "no XML gauge of the panel writes '" + variable + "': sound " +
                            indexedKey("", i) + " can never play from this panel"});
  }
  CrossCheck check(table, problems);
  for (const PanelUse& use : uses) check.use(use, targets);
  return problems;
}

Problems scriptFindings(const gauges::Findings& findings) {
  Problems problems;
  for (const gauges::Finding& f : findings.all()) {
    problems.push_back({Severity::kWarning, f.site.file, f.site.line, "",
                        f.message + (f.site.excerpt.empty() ? "" : " (in: " + f.site.excerpt + ")")});
  }
  return problems;
}

}  // namespace vorlanex::tool
