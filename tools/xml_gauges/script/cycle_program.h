// A gauge's cycle laid out flat when the gauge is loaded: its Update, then
// every element's Visible, BlinkCode, Values and Strings depth-first, in one
// array of instructions that a single run of the machine goes through. An
// element's Visible that hides jumps past the element's own scripts and its
// children's, so a frame walks no tree and sets up no run per script.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "operators.h"
#include "script_program.h"

namespace vorlanex::gauges {

// Formats the gauge's strings when the cycle comes to them, on its stack.
class CycleStrings {
 public:
  virtual void format(int index, ScriptContext& context) = 0;

 protected:
  ~CycleStrings() = default;
};

class CycleProgram {
 public:
  CycleProgram();
  ~CycleProgram();
  CycleProgram(CycleProgram&&) noexcept;
  CycleProgram& operator=(CycleProgram&&) noexcept;

  // Laying out, in run order. Each script runs as runScript (an Update) or
  // evaluateScript (the others) would run it on the cycle's stack.
  void addUpdate(Program program);
  // Its number goes to results[slot] when the cycle runs.
  void addValue(Program program, int slot);
  // Whether its value shows goes to blinks[slot] when the cycle runs.
  void addBlinkCode(Program program, int slot);
  // Its number goes to results[slot]. Gives the place to pass to
  // skipHiddenTo, once what it hides is laid out.
  size_t addVisible(Program program, int slot);
  void skipHiddenTo(size_t visible);  // a hiding Visible goes on at what comes next
  void addString(int index, const ScriptSite& site);
  void finish();

  // One cycle on `stack`, which holds what the cycle starts with.
  void run(ScriptContext& context, ScriptStack& stack, uint8_t* blinks, double* results,
           CycleStrings& strings) const;

 private:
  struct Layout;
  size_t add(Program program, Op end, int32_t endOperand, int32_t endSecond = 0);
  std::unique_ptr<Layout> layout_;  // while laying out
  std::unique_ptr<Program::Code> code_;
};

}  // namespace vorlanex::gauges
