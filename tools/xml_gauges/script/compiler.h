// The compiler's state while it reads one script: the code it emits, the
// open if{ and els{ blocks, the labels and the jumps to them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "program_code.h"
#include "script_tokens.h"

namespace vorlanex::gauges {

// A word or variable as a finding shows it: cut short, for a script may hold
// a word of any length.
std::string shown(std::string_view text);

class Compiler {
 public:
  Compiler(std::string_view text, const ScriptSite& site, ScriptContext& context);
  std::unique_ptr<Program::Code> compile();

 private:
  struct Block {
    bool isElse;
    size_t jump;  // the instruction to point past the block
    int line;     // of its if{ or els{
  };
  struct LabelJump {
    size_t instruction;
    long long label;
    int line;
  };

  void word(const std::vector<Token>& tokens, size_t& at);
  void closeBlock(const std::vector<Token>& tokens, size_t& at);
  bool registerWord(std::string_view word);
  bool labelWord(std::string_view word);
  void unknownWord(std::string_view word);
  void text(const Token& token);
  void finishBlocksAndJumps();

  // In compile_variables.cpp.
  void variable(const Token& token);
  void sharedVariable(const VariableName& name);
  void gaugeVariable(const VariableName& name, std::string_view written);
  void aircraftVariable(const VariableName& name, std::string_view written);
  void mouseVariable(const VariableName& name, std::string_view written);
  void undefinedVariable(bool write);

  size_t emit(Op op, int32_t a = 0, int32_t b = 0, double x = 0.0);
  int siteOfLine(int line);
  void finding(std::string message);

  std::string_view text_;
  ScriptContext& context_;
  CodeDetails details_;
  std::vector<Instruction> instructions_;
  int registersUsed_ = 0;
  std::vector<size_t> lineStarts_;
  std::vector<int> lineSites_;  // per line, its index in details_.sites or -1
  int line_ = 0;                // of the token being read
  std::vector<Block> blocks_;
  std::map<long long, size_t> labels_;
  std::vector<LabelJump> labelJumps_;
};

}  // namespace vorlanex::gauges
