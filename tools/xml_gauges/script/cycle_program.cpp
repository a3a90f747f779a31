#include "cycle_program.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "program_code.h"
#include "script_machine.h"

namespace vorlanex::gauges {

struct CycleProgram::Layout {
  CodeDetails details;
  std::vector<Instruction> instructions;

  int32_t addSite(ScriptSite site) {
    details.sites.push_back(std::move(site));
    return static_cast<int32_t>(details.sites.size() - 1);
  }
  void emit(Op op, int32_t a, int32_t b, int32_t site) {
    Instruction in{};
    in.op = op;
    in.a = a;
    in.b = b;
    instructions.push_back(in);
    details.instructionSites.push_back(site);
  }
};

CycleProgram::CycleProgram() : layout_(std::make_unique<Layout>()) {}
CycleProgram::~CycleProgram() = default;
CycleProgram::CycleProgram(CycleProgram&&) noexcept = default;
CycleProgram& CycleProgram::operator=(CycleProgram&&) noexcept = default;

void CycleProgram::addUpdate(Program program) { add(std::move(program), Op::kEndRun, 0); }
void CycleProgram::addValue(Program program, int slot) { add(std::move(program), Op::kEndTake, slot); }
void CycleProgram::addBlinkCode(Program program, int slot) { add(std::move(program), Op::kEndBlink, slot); }
size_t CycleProgram::addVisible(Program program, int slot) {
  return add(std::move(program), Op::kEndVisible, 0, slot);
}

void CycleProgram::skipHiddenTo(size_t visible) {
  layout_->instructions[visible].a = static_cast<int32_t>(layout_->instructions.size());
}

void CycleProgram::addString(int index, const ScriptSite& site) {
  layout_->emit(Op::kFormatString, index, 0, layout_->addSite(site));
}

namespace {

Op withNumber(Op op) {
  for (const auto& [plain, fused] : kWithNumber) {
    if (plain == op) return fused;
  }
  return Op::kNop;
}

bool isJump(Op op) { return op == Op::kJump || op == Op::kJumpIfFalse; }

// A script's instructions as the cycle runs them: a number pushed right
// before an operator on the same line joins it, unless a jump lands between.
// `placed[i]` gives where instruction i went (for i == size, the end).
std::vector<Instruction> joined(const Instruction* code, const std::vector<int32_t>& sites, int32_t size,
                                std::vector<int32_t>& placed, std::vector<int32_t>& placedSites) {
  std::vector<bool> landed(static_cast<size_t>(size) + 1, false);
  for (int32_t i = 0; i < size; ++i) {
    if (isJump(code[i].op) && code[i].a >= 0 && code[i].a <= size) landed[static_cast<size_t>(code[i].a)] = true;
  }
  std::vector<Instruction> out;
  placed.assign(static_cast<size_t>(size) + 1, 0);
  for (int32_t i = 0; i < size; ++i) {
    const auto at = static_cast<size_t>(i);
    placed[at] = static_cast<int32_t>(out.size());
    Instruction in = code[i];
    if (in.op == Op::kPushNumber && i + 1 < size && !landed[at + 1] && sites[at] == sites[at + 1]) {
      if (const Op fused = withNumber(code[i + 1].op); fused != Op::kNop) {
        in.op = fused;
        placed[at + 1] = placed[at];
        ++i;
      }
    }
    out.push_back(in);
    placedSites.push_back(sites[at]);
  }
  placed[static_cast<size_t>(size)] = static_cast<int32_t>(out.size());
  return out;
}

}  // namespace

// The script's instructions are copied between a kBegin and its end, their
// jumps, texts, conversions, events and sites moved to the cycle's own; a
// quit jumps to the script's end.
size_t CycleProgram::add(Program program, Op end, int32_t endOperand, int32_t endSecond) {
  Layout& layout = *layout_;
  CodeDetails& into = layout.details;
  const Program::Code* code = program.code_.get();
  const int32_t scriptSite = layout.addSite(code != nullptr ? std::move(program.code_->details.script) : ScriptSite{});
  const auto beginAt = layout.instructions.size();
  layout.emit(Op::kBegin, 0, program.registersUsed(), scriptSite);
  const auto first = static_cast<int32_t>(layout.instructions.size());
  if (code != nullptr) {
    CodeDetails& from = program.code_->details;
    const auto sites = static_cast<int32_t>(into.sites.size());
    const auto conversions = static_cast<int32_t>(into.conversions.size());
    const auto texts = static_cast<int32_t>(into.texts.size());
    const auto events = static_cast<int32_t>(into.events.size());
    into.sites.insert(into.sites.end(), std::make_move_iterator(from.sites.begin()),
                      std::make_move_iterator(from.sites.end()));
    into.conversions.insert(into.conversions.end(), from.conversions.begin(), from.conversions.end());
    into.texts += from.texts;
    into.events.insert(into.events.end(), std::make_move_iterator(from.events.begin()),
                       std::make_move_iterator(from.events.end()));
    std::vector<int32_t> placed;
    std::vector<int32_t> placedSites;
    const auto size = static_cast<int32_t>(code->size);
    const std::vector<Instruction> script =
        joined(code->instructions(), from.instructionSites, size, placed, placedSites);
    const int32_t endAt = first + static_cast<int32_t>(script.size());
    for (size_t i = 0; i < script.size(); ++i) {
      Instruction in = script[i];
      switch (in.op) {
        case Op::kJump:
        case Op::kJumpIfFalse: in.a = first + placed[static_cast<size_t>(std::clamp(in.a, 0, size))]; break;
        case Op::kQuit:
          in.op = Op::kJump;
          in.a = endAt;
          break;
        case Op::kPushText: in.a += texts; break;
        case Op::kReadAircraftConverted: in.b += conversions; break;
        case Op::kSendEvent: in.a += events; break;
        default: break;
      }
      layout.instructions.push_back(in);
      into.instructionSites.push_back(sites + placedSites[i]);
    }
  }
  const auto endAt = static_cast<int32_t>(layout.instructions.size());
  layout.instructions[beginAt].a = endAt;
  layout.emit(end, endOperand, endSecond, scriptSite);
  return static_cast<size_t>(endAt);
}

void CycleProgram::finish() {
  code_ = Program::Code::make(std::move(layout_->details), layout_->instructions, 0);
  layout_.reset();
}

void CycleProgram::run(ScriptContext& context, ScriptStack& stack, uint8_t* blinks, double* results,
                       CycleStrings& strings) const {
  if (code_ == nullptr) return;
  Machine machine(*code_, context, stack);
  machine.runCycle(blinks, results, strings);
}

}  // namespace vorlanex::gauges
