// What a run recorded: every variable the module wrote, every write of the
// module's variables by the script and the panel's gauges, every step of the
// script as it was carried out, and the simulator events sent.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "panel_host.h"
#include "script.h"
#include "script_site.h"

namespace vorlanex::tool {

// Who wrote a variable.
struct Writer {
  enum class Kind { kModule, kScript, kGauge };
  Kind kind = Kind::kModule;
  // The script: its file, the step's line and text. A gauge: its name as
  // panel.cfg gives it, its XML file, the script's line and text.
  gauges::ScriptSite site;
};

struct VariableWrite {
  int frame;
  double time;  // seconds since the start of the run
  std::string name;
  double oldValue;
  double newValue;
  // The variable the module looked up last before this one: for a status
  // variable, the sound it was handling when it wrote it.
  std::string during;
  Writer writer = {};
};

// A simulator event (K:) sent by a gauge or by the script, in the frame it
// was sent.
struct SentEventRecord {
  int frame;
  double time;
  std::string event;  // upper case, "TOGGLE_MASTER_BATTERY"
  double value;
  Writer sender;
};

// A gauge's <String> showing a new text, in the frame it first showed it.
struct StringText {
  int frame;
  double time;
  gauges::ScriptSite site;  // the gauge, its file and the String's line
  std::string text;
};

struct StepEvent {
  int frame;
  double time;
  const Step* step;
  bool passed = true;   // expect, wait until
  double actual = 0.0;  // expect, wait until: the value found
};

struct RunRecord {
  double framesPerSecond = 0.0;
  int frames = 0;
  // A long session keeps only its last stretch of writes and sent events
  // (forgetBefore); the steps are all kept, the session's script is made of them.
  std::deque<VariableWrite> writes;
  std::vector<StepEvent> events;
  std::deque<SentEventRecord> sentEvents = {};
  // Only changes are kept, and no more than kMostStringTexts of them: a
  // clock's string changes every second of a long run.
  std::vector<StringText> strings = {};
  static constexpr std::size_t kMostStringTexts = 10000;

  // How many writes were let go from the front of `writes`: the write
  // numbered n since the run began is writes[n - forgottenWrites].
  std::size_t forgottenWrites = 0;

  // Lets go of the writes and sent events made before `time` (seconds).
  void forgetBefore(double time);

  int failures() const;
  std::size_t moduleWrites() const;
};

// The writes among `calls`, the module's calls of one frame, in order.
// `values` holds every variable's value, by id, from before those calls; it
// is brought up to date as the writes are found.
void collectWrites(const std::vector<host::HostCall>& calls, const host::NamedVariables& variables,
                   int frame, double time, std::vector<double>& values,
                   std::deque<VariableWrite>& out);

// The log of writes: its heading, then one line a write (frame, time,
// variable, old -> new); `run` and the console print the same log. With
// `writers` (a run with the panel's gauges) each line names its writer, and
// sent events have lines of their own.
void printLogHeading(std::FILE* out, bool writers = false);
void printWrite(std::FILE* out, const VariableWrite& write, bool writers = false);
void printSentEvent(std::FILE* out, const SentEventRecord& sent);
// "the module", "the script, line 7", "Cabin!chime_button, FILE:LINE".
std::string writerText(const Writer& writer);
// A line of the same log for a step the page asked for: frame, time, step.
void printPageStep(std::FILE* out, const StepEvent& event);

// Every variable's value by id, for collectWrites.
std::vector<double> variableValues(const host::NamedVariables& variables);

}  // namespace vorlanex::tool
