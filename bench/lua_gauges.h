// The benchmark panel's logic in Lua 5.4, run as a plugin of another
// simulator would run it: the chunk is loaded once, and each frame is one
// protected call of the frame function it returned. Its C functions reach
// the same kinds of variables the XML gauges reach, through the same objects.
#pragma once

#include <string>

#include "shared_variables.h"
#include "simulated_aircraft.h"

struct lua_State;

namespace vorlanex::bench {

class LuaGauges {
 public:
  // Throws std::runtime_error with Lua's message when the chunk fails.
  LuaGauges(const std::string& chunk, gauges::SharedVariables& shared,
            gauges::SimulatedAircraft& aircraft);
  ~LuaGauges();
  LuaGauges(const LuaGauges&) = delete;
  LuaGauges& operator=(const LuaGauges&) = delete;

  // Every gauge's function, then the clock advances by `seconds`, as
  // GaugePanel::runFrame does.
  void runFrame(double seconds);

 private:
  lua_State* state_;
  int frame_ = 0;  // the frame function, in the registry
  gauges::SharedVariables& shared_;
  gauges::SimulatedAircraft& aircraft_;

  friend struct LuaCalls;
};

}  // namespace vorlanex::bench
