// The compiled form of a gauge script, shared by the compiler and the
// evaluator alone: an array of plain instructions, the texts they push, and
// the places their findings are told at. Nothing here is built per run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "operators.h"
#include "script_program.h"
#include "script_stack.h"
#include "units.h"

namespace vorlanex::gauges {

constexpr int kStepLimit = 100000;

// 16 bytes: a frame's scripts are many, and their code should take few
// cache lines.
struct Instruction {
  Op op;
  int32_t a;  // a slot, an id, a register, a jump's target, a text's offset
  union {
    double x;   // kPushNumber: the number
    int32_t b;  // a text's length, a conversion's index
  };
};

// Everything of a program but its instructions, read only when a run writes
// a variable, sends an event, tells a finding or meets a text.
struct CodeDetails {
  std::vector<int32_t> instructionSites;  // per instruction, its line's index in `sites`
  std::vector<Conversion> conversions;
  std::string texts;                      // the quoted texts, one after the other
  std::vector<std::string> events;        // the K: events sent, upper case
  std::vector<ScriptSite> sites;          // one per line that holds a token
  ScriptSite script;                      // the whole script's site, its first line
};

// The program in one block of memory: its details, then what every run reads
// first, then the instructions right after it, so that a frame of many
// scripts meets few cache lines it does not have.
struct alignas(Instruction) Program::Code {
  static std::unique_ptr<Code> make(CodeDetails details, const std::vector<Instruction>& instructions,
                                    int registersUsed);
  static void operator delete(void* code) { ::operator delete(code); }
  ~Code() = default;

  const Instruction* instructions() const { return reinterpret_cast<const Instruction*>(this + 1); }
  const ScriptSite& siteOf(size_t instruction) const {
    return details.sites[static_cast<size_t>(details.instructionSites[instruction])];
  }

  CodeDetails details;
  // What a run told already, per instruction: the findings of a script that
  // runs in every frame cost nothing after the first.
  mutable std::vector<uint8_t> told;
  mutable const Findings* toldTo = nullptr;
  mutable bool toldResultLeftover = false;
  uint32_t size = 0;       // instructions
  int registersUsed = 0;   // registers 0 to this - 1 are reset per run

 private:
  Code() = default;
};

}  // namespace vorlanex::gauges
