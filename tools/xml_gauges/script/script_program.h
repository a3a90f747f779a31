// A gauge script compiled once, when the gauge is loaded, into a compact
// program whose variable references are resolved to slots, then run by a
// stack machine of numbers and strings in every frame without reading text.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "script_site.h"
#include "script_stack.h"
#include "shared_variables.h"
#include "simulated_aircraft.h"

namespace vorlanex::gauges {

// A value of the script's stack.
struct Value {
  double number = 0.0;
  std::string text;
  bool isText = false;
};

// What a script reaches while it is compiled and while it runs.
struct ScriptContext {
  SharedVariables& shared;
  SimulatedAircraft& aircraft;
  Findings& findings;
  double* gaugeVariables = nullptr;  // G:Var1 to G:Var9 of the gauge instance, at [1] to [9]
  std::string mouseEvent;            // (M:Event) while a Click runs: "LeftSingle"
  double mouseX = 0.0;               // (M:X), (M:Y): the point clicked, in the gauge's pixels
  double mouseY = 0.0;
  // The stack runs share: the gauge's for its cycle; null: each run starts
  // on a fresh one (a click, a key, a lone script).
  ScriptStack* stack = nullptr;
  // Registers shared by runs (the parts of one gauge string); null: each run
  // has its own, all 0 at its start.
  ScriptRegisters* registers = nullptr;
  std::string key;  // (M:Key) while a <Keys> handler runs: the key or event that fired
};

class Program {
 public:
  Program();
  ~Program();
  Program(Program&&) noexcept;
  Program& operator=(Program&&) noexcept;
  bool empty() const;
  const ScriptSite& site() const;
  int registersUsed() const;  // registers 0 to this - 1

  struct Code;  // the compiled form: the compiler's and the evaluator's alone

 private:
  friend Program compileScript(std::string_view, const ScriptSite&, ScriptContext&);
  friend Value runScript(const Program&, ScriptContext&);
  friend Value evaluateScript(const Program&, ScriptContext&);
  friend class CycleProgram;
  std::unique_ptr<Code> code_;
};

// Compiles a script whose first character stands on `site.line` of its file
// (macros already expanded; a leftover "@Name" is a macro never defined).
// Never fails: what cannot be read becomes a finding (an unknown word, an
// unbalanced if{/els{/}, a jump to a missing label, a write to a read-only
// kind such as ">A:") and compiles to what the simulator does with it.
Program compileScript(std::string_view text, const ScriptSite& site, ScriptContext& context);

// Runs it once and gives the value left on top (0 for an empty stack), which
// stays on the stack with whatever else the run left there: an Update's, a
// click's. Never throws: an empty stack reads 0, division by zero gives 0,
// and a script that runs too many steps in one call (an endless g loop) is
// stopped; each becomes a finding.
Value runScript(const Program& program, ScriptContext& context);

// The same for a script whose value the gauge takes (a Visible, a Value, a
// string's %( )): the value on top is taken off the stack, the rest stays.
Value evaluateScript(const Program& program, ScriptContext& context);

}  // namespace vorlanex::gauges
