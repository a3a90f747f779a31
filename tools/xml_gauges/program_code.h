// The compiled form of a gauge script, shared by the compiler and the
// evaluator alone: an array of plain instructions, the texts they push, and
// the places their findings are told at. Nothing here is built per run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "operators.h"
#include "script_program.h"
#include "units.h"

namespace vorlanex::gauges {

constexpr int kRegisterCount = 50;
constexpr int kStackLimit = 512;
constexpr int kStepLimit = 100000;

struct Instruction {
  Op op = Op::kNop;
  int32_t a = 0;     // a slot, an id, a register, a jump's target, a text's offset
  int32_t b = 0;     // a text's length, a conversion's index
  int32_t site = 0;  // Program::Code::sites, where the token stands
  double x = 0.0;    // a number pushed
};

struct Program::Code {
  std::vector<Instruction> instructions;
  std::string texts;               // the quoted texts, one after the other
  std::vector<std::string> events; // the K: events sent, upper case
  std::vector<Conversion> conversions;
  std::vector<ScriptSite> sites;   // one per line that holds a token
  ScriptSite script;               // the whole script's site, its first line
  int registersUsed = 0;           // registers 0 to this - 1 are reset per run

  // What a run told already, per instruction: the findings of a script that
  // runs in every frame cost nothing after the first.
  mutable std::vector<uint8_t> told;
  mutable const Findings* toldTo = nullptr;
};

}  // namespace vorlanex::gauges
