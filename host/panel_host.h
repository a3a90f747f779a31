// The panel host: plays the simulator's part for one gauge module. It serves
// the module's panel function table with a table of named variables, records
// every call the module makes into it, and drives the gauge's services in the
// simulator's order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "panel/gauge_abi.h"
#include "module_library.h"
#include "named_variables.h"

namespace vorlanex::host {

// One call the module made into the panel function table.
struct HostCall {
  int entry;               // HostPanels entry number
  std::string name;        // variable name (entries 51, 52)
  std::int32_t id;         // id yielded (51, 52) or passed (53, 55)
  double value;            // value read (53) or written (55)
  const void* element;     // element passed (24 to 31)
  std::uint32_t argument;  // own argument passed on (25, 28)
};

class PanelHost {
 public:
  // The simulator updates its panels about 18 times a second.
  static constexpr double kDefaultFrameRate = 18.0;

  // Writes the address of the host's panel function table into the module's
  // ImportTable before anything of the module is called. One host is active
  // at a time: its table's functions reach this object. A host made while
  // another is active (a tool reading a table during a run) serves only until
  // it ends; the one before is then active again, with its table in place.
  explicit PanelHost(const ModuleExports& module);
  ~PanelHost();
  PanelHost(const PanelHost&) = delete;
  PanelHost& operator=(const PanelHost&) = delete;

  // The module's gauge header, entry 0 of its gauge table.
  const abi::GaugeHeader& gauge() const { return *module_.linkage->gauges[0]; }

  // The gauge's parameter text from the panel configuration; passed in the
  // gauge header of every service call from now on.
  void setParameters(const std::string& parameters);

  // Calls the gauge's service callback with one service code.
  void service(std::int32_t code);
  // Pre-install, post-install, connect to window: a panel coming up.
  void install();
  // Pre-update `count` times, at the frame rate.
  void runFrames(int count);
  void disconnect() { service(abi::kDisconnect); }

  // The aircraft reloaded: the module let go (after its disconnect), before
  // it is unloaded, and another load of it served from then on, with the
  // same variables and parameters. Its install is the caller's.
  void releaseModule();
  void useModule(const ModuleExports& module);

  // The gauge's standard routines, as the simulator calls them.
  void query() { gauge().query(); }
  void installRoutine(std::uint32_t value) { gauge().install(value); }
  void initialize() { gauge().initialize(); }
  void update() { gauge().update(); }
  void generate(std::uint32_t value) { gauge().generate(value); }
  void draw() { gauge().draw(); }
  void kill() { gauge().kill(); }

  double frameRate() const { return frameRate_; }
  void setFrameRate(double framesPerSecond) { frameRate_ = framesPerSecond; }
  // Real time paces frames by the wall clock; otherwise frames follow each
  // other at once and only `onFrame` listeners see the frame duration.
  void setRealTime(bool realTime) { realTime_ = realTime; }
  // Called after each pre-update with the frame's duration in seconds.
  void setFrameListener(std::function<void(double)> listener) { onFrame_ = std::move(listener); }

  NamedVariables& variables() { return variables_; }
  const std::vector<HostCall>& calls() const { return calls_; }
  void clearCalls() { calls_.clear(); }
  // Long runs can turn the call record off to keep memory flat.
  void setRecording(bool recording) { recording_ = recording; }
  // Names registered by the module, in the order of their first registration.
  std::vector<std::string> registeredNames() const;

  // Called by the panel function table.
  void record(HostCall call);

 private:
  ModuleExports module_;
  PanelHost* previousHost_;
  abi::HostPanels* previousPanels_;
  abi::HostPanels panels_;
  abi::GaugeHeader instance_;
  std::string parameters_;
  NamedVariables variables_;
  std::vector<HostCall> calls_;
  bool recording_ = true;
  double frameRate_ = kDefaultFrameRate;
  bool realTime_ = false;
  std::function<void(double)> onFrame_;
};

}  // namespace vorlanex::host
