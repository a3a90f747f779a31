#include "reach_verdicts.h"

#include <algorithm>
#include <optional>

#include "commands/command_value.h"
#include "report_text.h"
#include "text_case.h"
#include "wave_files.h"

namespace vorlanex::tool {
namespace {

std::string at(const std::string& file, int line) { return file + ":" + std::to_string(line); }

int windowOf(const std::vector<gauges::PanelWindowSection>& windows, const gauges::PanelGaugeLine& gauge) {
  for (std::size_t w = 0; w < windows.size(); ++w) {
    if (gauges::equalNoCase(windows[w].section, gauge.section)) return static_cast<int>(w);
  }
  return -1;
}

std::string windowName(const gauges::PanelWindowSection& window) {
  return window.section + (window.title.empty() ? "" : " (" + window.title + ")");
}

class Judge {
 public:
  Judge(const SearchResult& search, const SoundTable& table,
        const std::vector<gauges::PanelWindowSection>& windows,
        const std::vector<gauges::PanelGaugeLine>& gauges, const std::string& cut)
      : search_(search), table_(table), windows_(windows), gauges_(gauges), cut_(cut) {}

  void why(const SoundSeen& seen, SoundVerdict& verdict) const {
    const auto found = search_.facts.writes.find(verdict.variable);
    if (found == search_.facts.writes.end()) {
      verdict.reason = "no gauge writes its variable";
      return;
    }
    const std::vector<VariableWriteSite>& sites = found->second;
    if (!seen.playWritten && seen.otherCodes.empty()) return neverWritten(sites, verdict);
    if (!seen.playWritten) {
      std::string codes;
      for (const SoundEvent& e : seen.otherCodes) {
        codes += (codes.empty() ? "" : ", ") + shortNumber(e.value) + " by " + at(e.site.file, e.site.line);
      }
      verdict.reason = "the code written was never a play code (1 or 2): " + codes;
      verdict.file = seen.otherCodes.front().site.file;
      verdict.line = seen.otherCodes.front().site.line;
      return;
    }
    if (seen.refused) {
      verdict.reason = "the play code was written, but the module could not play its sound: it handed the "
                       "variable back as " + shortNumber(seen.refused->value) + refusalCause(verdict.sound);
      return;
    }
    if (seen.overwritten) {
      const SoundEvent& e = *seen.overwritten;
      verdict.reason = "it was always overwritten in the same frame: " + shortNumber(e.value) +
                       " written by " + at(e.site.file, e.site.line) + " before the module read the play code";
      verdict.file = e.site.file;
      verdict.line = e.site.line;
      return;
    }
    verdict.reason = "not reached within the search's bounds" + (cut_.empty() ? "" : " (" + cut_ + ")");
  }

 private:
  // Why the module refused the sound, as check's look at its file and the
  // sound device finds it: a file it cannot play, or no device here.
  std::string refusalCause(int sound) const {
    if (!files_) files_ = readSoundFiles(table_);
    const SoundFileReading& reading = files_->readings.at(static_cast<std::size_t>(sound));
    if (reading.outcome != SoundFileReading::Outcome::kRead) return ": " + describeReading(reading);
    if (!files_->deviceOpened) return ": this computer has no sound device the module could open";
    return " (check its WAV file)";
  }

  // No write of the variable ever ran: its gauges' windows never opened, or
  // the condition over the writes never held.
  void neverWritten(const std::vector<VariableWriteSite>& sites, SoundVerdict& verdict) const {
    const auto opened = [&](const VariableWriteSite& site) {
      const int w = windowOf(windows_, gauges_.at(static_cast<std::size_t>(site.gauge)));
      return w < 0 || search_.windowsOpened.at(static_cast<std::size_t>(w));
    };
    const auto running = std::find_if(sites.begin(), sites.end(), opened);
    if (running == sites.end()) {
      const VariableWriteSite& site = sites.front();
      const int w = windowOf(windows_, gauges_.at(static_cast<std::size_t>(site.gauge)));
      verdict.reason = "its writes stand in a window that never opened, " +
                       windowName(windows_.at(static_cast<std::size_t>(w))) + " (" + at(site.file, site.line) +
                       "): the pilot's menu does not list it, and no gauge opens it";
      verdict.file = site.file;
      verdict.line = site.line;
      return;
    }
    const auto conditional = std::find_if(running, sites.end(), [&](const VariableWriteSite& site) {
      return opened(site) && !site.condition.empty();
    });
    if (conditional != sites.end()) {
      verdict.reason = "the only writes stand under a condition no move made hold: " +
                       at(conditional->file, conditional->conditionLine) + ": " + conditional->condition;
      verdict.file = conditional->file;
      verdict.line = conditional->conditionLine;
      return;
    }
    verdict.reason = std::string("its writes never ran: ") + at(running->file, running->line) +
                     (running->inClick ? " stands in a click no move could make" : "");
    verdict.file = running->file;
    verdict.line = running->line;
  }

  const SearchResult& search_;
  const SoundTable& table_;
  mutable std::optional<SoundFiles> files_;  // read at the first refusal
  const std::vector<gauges::PanelWindowSection>& windows_;
  const std::vector<gauges::PanelGaugeLine>& gauges_;
  const std::string& cut_;
};

}  // namespace

ReachVerdicts judgeSearch(const SearchResult& search, const SoundTable& table,
                          const std::vector<gauges::PanelWindowSection>& windows,
                          const std::vector<gauges::PanelGaugeLine>& gauges) {
  ReachVerdicts verdicts;
  const Judge judge(search, table, windows, gauges, search.cut);
  for (std::size_t i = 0; i < search.sounds.size(); ++i) {
    const SoundSeen& seen = search.sounds[i];
    SoundVerdict verdict{static_cast<int>(i), table.slots[i].varName};
    if (seen.reached) {
      verdict.reached = true;
      for (const WayStep& step : seen.reached->way.steps) {
        verdict.steps.push_back(search.moves.at(static_cast<std::size_t>(step.move)).text);
      }
    } else {
      judge.why(seen, verdict);
    }
    if (seen.atRest) {
      verdicts.notes.push_back({"plays at rest", verdict.variable,
                                "plays at rest " + verdict.variable +
                                    ": the one-shot starts with nobody touching the panel, at every load"});
    }
    if (seen.looped && !seen.loopStopped) {
      verdicts.notes.push_back({"never stops", verdict.variable,
                                "never stops " + verdict.variable + ": its loop can start, and no move stopped it"});
    }
    verdicts.sounds.push_back(std::move(verdict));
  }
  const std::string stopAll = table.stopAll.varName;
  if (!search.stopAllWritten) {
    const bool written = search.facts.writes.count(stopAll) != 0;
    verdicts.notes.push_back({"never written", stopAll,
                              "never written " + stopAll + ": the stop-all variable" +
                                  (written ? ", though a gauge writes it: no move made it" : ": no gauge writes it")});
  }
  return verdicts;
}

}  // namespace vorlanex::tool
