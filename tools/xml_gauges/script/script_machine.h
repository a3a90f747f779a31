// The stack machine that runs a compiled script: a fixed stack of light
// values whose texts stand aside in one buffer, registers, and the findings
// a run tells. Its state lives for one run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "program_code.h"

namespace vorlanex::gauges {

// A value of the stack: a number, or a text standing in the program's texts
// or in the run's text buffer. Plain data, so the stack costs nothing to set
// up. Cell{} is the number 0.
struct Cell {
  enum Where : uint8_t { kNumber, kProgramText, kRunText };
  double number;
  uint32_t offset;
  uint32_t length;
  Where where;
};

class Machine {
 public:
  Machine(const Program::Code& code, ScriptContext& context);
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  Value run();

 private:
  // What a run tells, once per instruction.
  enum Told : uint8_t { kUnderflow = 1, kDivision = 2, kSteps = 4, kDepth = 8, kTextLimit = 16 };

  void tell(Told what, const char* message);

  Cell pop() {
    if (depth_ == 0) return emptyPop();
    return stack_[--depth_];
  }
  Cell emptyPop();
  double popNumber() { return numberOf(pop()); }
  void push(const Cell& cell) {
    if (depth_ == kStackLimit) return tooDeep();
    stack_[depth_++] = cell;
  }
  void tooDeep();
  void pushNumber(double number) { push(Cell{number, 0, 0, Cell::kNumber}); }
  inline void binary(Op op);
  inline void unary(Op op);
  void divide(Op op);
  void compare(Op op);
  void choose();
  void range();
  void pick();
  void selectCase();

  double numberOf(const Cell& cell) const {
    return cell.where == Cell::kNumber ? cell.number : numberOfText(cell);
  }

  // In evaluator_texts.cpp.
  double numberOfText(const Cell& cell) const;
  std::string_view textOf(const Cell& cell, char* buffer) const;
  bool roomFor(size_t length);  // false, and told, when the run's texts are full
  void pushText(std::string_view text);
  void textOperation(Op op);

  const Program::Code& code_;
  ScriptContext& context_;
  std::string& texts();
  std::string* texts_ = nullptr;  // the run's texts, once it has any
  size_t textsStart_ = 0;
  size_t current_ = 0;  // the instruction running, for findings
  int depth_ = 0;
  Cell registers_[kRegisterCount];
  Cell stack_[kStackLimit];
};

}  // namespace vorlanex::gauges
