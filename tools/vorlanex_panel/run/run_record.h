// What a run recorded: every variable the module wrote, and every step of
// the script as it was carried out.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "panel_host.h"
#include "script.h"

namespace vorlanex::tool {

struct VariableWrite {
  int frame;
  double time;  // seconds since the start of the run
  std::string name;
  double oldValue;
  double newValue;
  // The variable the module looked up last before this one: for a status
  // variable, the sound it was handling when it wrote it.
  std::string during;
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
  std::vector<VariableWrite> writes;
  std::vector<StepEvent> events;

  int failures() const;
};

// The writes among `calls`, the module's calls of one frame, in order.
// `values` holds every variable's value, by id, from before those calls; it
// is brought up to date as the writes are found.
void collectWrites(const std::vector<host::HostCall>& calls, const host::NamedVariables& variables,
                   int frame, double time, std::vector<double>& values,
                   std::vector<VariableWrite>& out);

// The log of writes: its heading, then one line a write (frame, time,
// variable, old -> new); `run` and the console print the same log.
void printLogHeading(std::FILE* out);
void printWrite(std::FILE* out, const VariableWrite& write);
// A line of the same log for a step the page asked for: frame, time, step.
void printPageStep(std::FILE* out, const StepEvent& event);

// Every variable's value by id, for collectWrites.
std::vector<double> variableValues(const host::NamedVariables& variables);

}  // namespace vorlanex::tool
