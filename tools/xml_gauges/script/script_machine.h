// The stack machine that runs a compiled script on a ScriptStack: its own
// for one run, or the gauge's, shared by the scripts of a cycle. Values a run
// finds on the stack when it starts were left by earlier scripts; taking one
// of them is told, for the panel then relies on the shared stack.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "program_code.h"

namespace vorlanex::gauges {

class CycleStrings;

class Machine {
 public:
  Machine(const Program::Code& code, ScriptContext& context, ScriptStack& stack);
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // `takeResult`: the value on top is taken off the stack.
  Value run(bool takeResult);
  // Runs a gauge's cycle laid out flat (cycle_program.h): the BlinkCodes'
  // results go to `blinks`, the Values' and Visibles' numbers to their slots
  // in `results` (what the gauge is drawn with), the strings are formatted
  // by `strings`.
  void runCycle(uint8_t* blinks, double* results, CycleStrings& strings);

 private:
  // What a run tells, once per instruction.
  enum Told : uint8_t {
    kUnderflow = 1, kDivision = 2, kSteps = 4, kDepth = 8, kTextLimit = 16, kLeftover = 32,
  };

  void tell(Told what, const char* message);
  void tell(Told what, const std::string& message) { tell(what, message.c_str()); }

  // Values above the run's start: its own.
  int own() const { return depth_ - base_; }
  Cell pop() {
    if (depth_ <= base_) return popBelowStart();
    return stack_[--depth_];
  }
  Cell popBelowStart();
  void tellLeftover();
  double popNumber() { return numberOf(pop()); }
  void push(Cell cell) {
    if (depth_ == kStackDepth) dropBottom();
    stack_[depth_++] = cell;
  }
  void dropBottom();
  void pushNumber(double number) { push(Cell{{number}, 0, 0, Cell::kNumber}); }
  void pushProgramText(const Instruction& in) {
    Cell cell{};
    cell.text = code_.details.texts.data() + in.a;
    cell.length = static_cast<uint32_t>(in.b);
    cell.where = Cell::kProgramText;
    push(cell);
  }
  // The operators' work, inlined into the run's cases.
  [[gnu::always_inline]] bool ownNumbers(int count) const;
  template <Op kOp> [[gnu::always_inline]] void binary();
  void binaryOnAny(Op op);
  template <Op kOp> [[gnu::always_inline]] void unary();
  template <Op kOp> [[gnu::always_inline]] void binaryWithNumber(double b);
  void divide(Op op);
  void compare(Op op);
  void choose();
  void range();
  void pick();
  void selectCase();
  Value result(bool takeResult);
  template <bool kTake> bool settle();
  bool settleOnLeftovers(bool takeResult);
  void formatString(int index);

  double numberOf(const Cell& cell) const {
    return cell.where == Cell::kNumber ? cell.number : numberOfText(cell);
  }

  // In evaluator_texts.cpp.
  double numberOfText(const Cell& cell) const;
  std::string_view textOf(const Cell& cell, char* buffer) const;
  bool roomFor(size_t length);  // false, and told, when the stack's texts are full
  void pushText(std::string_view text);
  void textOperation(Op op);

  const Program::Code& code_;
  ScriptContext& context_;
  ScriptStack& stackState_;
  std::string& texts();
  size_t current_ = 0;  // the instruction running, for findings
  size_t scriptEnd_;    // where the script running ends: a stopped one goes on there
  uint8_t* blinks_ = nullptr;
  double* results_ = nullptr;
  // The number a cycle's script ends with, as its end takes it.
  double resultNumber() const { return depth_ > 0 ? numberOf(stack_[depth_ - 1]) : 0.0; }
  CycleStrings* strings_ = nullptr;
  Cell* stack_;
  int depth_;
  int base_;  // the depth the run started at
  Cell* registers_;
  ScriptRegisters ownRegisters_;
};

}  // namespace vorlanex::gauges
