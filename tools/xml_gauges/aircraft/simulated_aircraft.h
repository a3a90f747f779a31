// The aircraft and simulator the panel's gauges read: A:, E: and P:
// variables at rest on the ground, a clock that advances with the frames, and
// the events gauges send (K:), applied as the aircraft's tables say.
#pragma once

#include <cstddef>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "script_site.h"
#include "units.h"
#include "variable_name.h"
#include "variable_table.h"

namespace vorlanex::gauges {

struct SentEvent {
  double time;        // seconds on the aircraft's clock
  std::string event;  // upper case, "TOGGLE_MASTER_BATTERY"
  double value;       // the value popped with it, 0 when the stack was empty
  ScriptSite sender;  // empty for a script step or the console
};

// A panel window an event asks to open, close or toggle. The aircraft has no
// windows: the panel running it takes these and applies them.
struct WindowRequest {
  enum class Action { kOpen, kClose, kToggle } action = Action::kToggle;
  bool byOrder = false;  // `number`: the window's place in panel.cfg (1 is the first), else its ident=
  int number = 0;
};

class SimulatedAircraft {
 public:
  SimulatedAircraft();
  ~SimulatedAircraft();

  // A slot for an A:/E:/P: variable (kind 'A' or 'E'; P: is E:). Names are
  // compared by simulatorKey; a numbered name ("ENG2 RPM") is its indexed
  // variable. A name not in the aircraft's tables comes into being at 0 with
  // the unit it was first named with (`unit`).
  int bind(char kind, const std::string& name, int index, const std::string& unit = {});
  // Values in the unit the aircraft holds the variable in (unitOf): the
  // table's unit, but MHz (kHz for the ADF) for a BCD frequency.
  double get(int slot) const;
  void set(int slot, double value);
  const std::string& unitOf(int slot) const;
  // The table's row of the slot's variable; nullptr for one the table lacks.
  const TableVariable* tableVariableOf(int slot) const;
  // How the slot's value reads in `wanted`: converted within a group, the
  // number as documented for a plain unit, 0 or 1 for a bool; across groups
  // as crossGroupConversion says.
  UnitRead unitRead(int slot, const Unit& wanted) const;
  // "(A:GENERAL ENG RPM:1, rpm)" for a slot, as logs show it.
  std::string nameOf(int slot) const;
  // The slots bound so far (by the gauges' scripts as they were compiled),
  // each as a script step names it, and whether the clock drives it.
  int slotCount() const;
  VariableName variableOf(int slot) const;
  bool clockDriven(int slot) const;

  // By name and any unit, for script steps: converts as unitRead says. No
  // unit, or one we do not know, takes the held number.
  double read(const VariableName& variable);
  void write(const VariableName& variable, double value);

  // The clock: P:Absolute time, E:ABSOLUTE TIME, P:Local time and the date
  // variables advance by `seconds`.
  void advance(double seconds);
  // Seconds since the clock started (P:Absolute time counts on from a fixed
  // date and time, the same for every run).
  double time() const;

  // Records the event and applies what the events table says it does:
  // TOGGLE_MASTER_BATTERY flips ELECTRICAL MASTER BATTERY, MIXTURE1_SET moves
  // the mixture lever... An event the table lacks is recorded only. Names
  // compare without case. A script that loops sending events is applied
  // every time, but only the first kMaxEventsAtOnce of one moment on the
  // clock are recorded, so that memory stays bounded; the others are counted.
  void send(const std::string& event, double value, const ScriptSite& sender = {});
  const std::vector<SentEvent>& events() const;
  // Lets go of the first `count` events recorded, once their reader has
  // taken them: a long session keeps only what it has not read.
  void forgetEvents(std::size_t count);
  std::size_t eventsNotRecorded() const;
  static constexpr std::size_t kMaxEventsAtOnce = 256;
  // Whether the events table has the event, for a script step that names one;
  // and whether the aircraft does what it does (or it changes nothing a gauge reads).
  static bool knownEvent(const std::string& event);
  static bool simulatedEvent(const std::string& event);

  // The window requests of the events sent since the last call.
  std::vector<WindowRequest> takeWindowRequests();

  // True the first time it is asked about `subject`: for what is told once
  // per panel run, such as an event the aircraft does not simulate.
  bool firstMention(const std::string& subject);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vorlanex::gauges
