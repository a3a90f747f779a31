// The stack a gauge's scripts run on, and the rules that shape it. The
// simulator is described as giving each gauge one stack per cycle, shared by
// its Update and every element script of that cycle and cleared when the
// cycle starts, 30 values deep, a push onto a full stack dropping the bottom
// value. Both rules stand here, so that the alternative is one change away.
#pragma once

#include <cstdint>
#include <string>

#include "script_site.h"

namespace vorlanex::gauges {

// How many values the stack holds; a push onto a full one drops the bottom.
constexpr int kStackDepth = 30;

enum class StackSharing {
  kPerGaugeCycle,  // the Update and the element scripts of a cycle share one stack
  kPerScript,      // every run starts on a stack of its own
};
constexpr StackSharing kStackSharing = StackSharing::kPerGaugeCycle;

constexpr int kRegisterCount = 50;

// A value of the stack: a number, or a text standing in the texts of the
// program that pushed it or in the stack's texts. Plain data, so the stack
// costs nothing to set up. Cell{} is the number 0.
struct Cell {
  enum Where : uint8_t { kNumber, kProgramText, kRunText };
  union {
    double number;     // kNumber
    const char* text;  // kProgramText: a program's text, which any later run can read
  };
  uint32_t offset;  // kRunText: where it stands in the stack's texts
  uint32_t length;  // a text's
  Where where;
};

struct ScriptStack {
  Cell cells[kStackDepth];
  int depth = 0;
  // The texts its values made (scat, ssub...), kept while they stand on it;
  // its room is taken when a first text needs it and never grows after.
  std::string texts;
  // The script that last ended leaving values of its own on it.
  const ScriptSite* leftBy = nullptr;

  void clear() {
    depth = 0;
    texts.clear();
    leftBy = nullptr;
  }
};

// The registers s0..s49 of a run, or of all the %( ) parts of one gauge
// string as it is formatted.
struct ScriptRegisters {
  Cell cells[kRegisterCount];
};

}  // namespace vorlanex::gauges
