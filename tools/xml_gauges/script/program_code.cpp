#include "program_code.h"

#include <memory>
#include <new>

namespace vorlanex::gauges {

std::unique_ptr<Program::Code> Program::Code::make(CodeDetails details, const std::vector<Instruction>& instructions,
                                                  int registersUsed) {
  static_assert(sizeof(Code) % alignof(Instruction) == 0, "the instructions follow the code aligned");
  void* memory = ::operator new(sizeof(Code) + instructions.size() * sizeof(Instruction));
  std::unique_ptr<Code> code(new (memory) Code());
  std::uninitialized_copy(instructions.begin(), instructions.end(),
                          reinterpret_cast<Instruction*>(code.get() + 1));
  code->details = std::move(details);
  code->told.assign(instructions.size(), 0);
  code->size = static_cast<uint32_t>(instructions.size());
  code->registersUsed = registersUsed;
  return code;
}

Program::Program() = default;
Program::~Program() = default;
Program::Program(Program&&) noexcept = default;
Program& Program::operator=(Program&&) noexcept = default;
bool Program::empty() const { return code_ == nullptr || code_->size == 0; }
int Program::registersUsed() const { return code_ != nullptr ? code_->registersUsed : 0; }

const ScriptSite& Program::site() const {
  static const ScriptSite none;
  return code_ != nullptr ? code_->details.script : none;
}

}  // namespace vorlanex::gauges
