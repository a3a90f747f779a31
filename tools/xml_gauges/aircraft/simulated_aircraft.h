// The aircraft and simulator the panel's gauges read: A:, E: and P:
// variables at rest on the ground, a clock that advances with the frames, and
// the events gauges send (K:), applied through a table of common events.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "script_site.h"
#include "variable_name.h"

namespace vorlanex::gauges {

struct SentEvent {
  double time;        // seconds on the aircraft's clock
  std::string event;  // upper case, "TOGGLE_MASTER_BATTERY"
  double value;       // the value popped with it, 0 when the stack was empty
  ScriptSite sender;  // empty for a script step or the console
};

class SimulatedAircraft {
 public:
  SimulatedAircraft();
  ~SimulatedAircraft();

  // A slot for an A:/E:/P: variable (kind 'A' or 'E'; P: is E:). Names are
  // compared by simulatorKey; a name not in the table of known variables
  // comes into being at 0 with the unit it was first named with (`unit`).
  int bind(char kind, const std::string& name, int index, const std::string& unit = {});
  // Values in the unit of the table (rpm, bool, percent, knots, seconds...).
  double get(int slot) const;
  void set(int slot, double value);
  const std::string& unitOf(int slot) const;
  // "(A:GENERAL ENG RPM:1, rpm)" for a slot, as logs show it.
  std::string nameOf(int slot) const;
  // The slots bound so far (by the gauges' scripts as they were compiled),
  // each as a script step names it, and whether the clock drives it.
  int slotCount() const;
  VariableName variableOf(int slot) const;
  bool clockDriven(int slot) const;

  // By name and any unit of the same dimension, for script steps: converts.
  // Unknown units are taken as the table's own unit.
  double read(const VariableName& variable);
  void write(const VariableName& variable, double value);

  // The clock: P:Absolute time, E:ABSOLUTE TIME, P:Local time and the date
  // variables advance by `seconds`.
  void advance(double seconds);
  // Seconds since the clock started (P:Absolute time counts on from a fixed
  // date and time, the same for every run).
  double time() const;

  // Records the event and applies it: TOGGLE_MASTER_BATTERY flips
  // ELECTRICAL MASTER BATTERY, GEAR_UP sets GEAR HANDLE POSITION to 0...
  // An event not in the table is recorded only. Names compare without case.
  // A script that loops sending events is applied every time, but only the
  // first kMaxEventsAtOnce of one moment on the clock are recorded, so that
  // memory stays bounded; the others are counted.
  void send(const std::string& event, double value, const ScriptSite& sender = {});
  const std::vector<SentEvent>& events() const;
  std::size_t eventsNotRecorded() const;
  static constexpr std::size_t kMaxEventsAtOnce = 256;
  // Whether the table knows the event, for a script step that names one.
  static bool knownEvent(const std::string& event);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vorlanex::gauges
