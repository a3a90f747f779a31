#include "compiler.h"

#include "text_case.h"
#include "value_text.h"

namespace vorlanex::gauges {
namespace {

// The digits after `prefix` as a number, or -1: "s12" with "s" gives 12.
long long numberAfter(std::string_view word, std::string_view prefix) {
  if (word.size() <= prefix.size() || word.size() > prefix.size() + 9 || word.substr(0, prefix.size()) != prefix) {
    return -1;
  }
  long long number = 0;
  for (char c : word.substr(prefix.size())) {
    if (c < '0' || c > '9') return -1;
    number = number * 10 + (c - '0');
  }
  return number;
}

// "0x7F", "0XFFFFFF": hexadecimal whole numbers, up to 16 digits.
bool parseHexNumber(std::string_view word, double& number) {
  if (word.size() < 3 || word.size() > 18 || word[0] != '0' || (word[1] != 'x' && word[1] != 'X')) return false;
  uint64_t value = 0;
  for (char c : word.substr(2)) {
    const char lower = static_cast<char>(c | 0x20);
    const int digit = c >= '0' && c <= '9' ? c - '0' : (lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1);
    if (digit < 0) return false;
    value = value * 16 + static_cast<uint64_t>(digit);
  }
  number = static_cast<double>(value);
  return true;
}

}  // namespace

std::string shown(std::string_view text) {
  constexpr size_t kLongest = 60;
  return text.size() <= kLongest ? std::string(text) : std::string(text.substr(0, kLongest)) + "...";
}

Compiler::Compiler(std::string_view text, const ScriptSite& site, ScriptContext& context)
    : text_(text), context_(context) {
  details_.script = site;
  lineStarts_.push_back(0);
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\n') lineStarts_.push_back(at + 1);
  }
  lineSites_.assign(lineStarts_.size(), -1);
}

std::unique_ptr<Program::Code> Compiler::compile() {
  const std::vector<Token> tokens = scriptTokens(text_);
  for (size_t at = 0; at < tokens.size(); ++at) {
    const Token& token = tokens[at];
    line_ = token.line;
    switch (token.kind) {
      case Token::Kind::kText: text(token); break;
      case Token::Kind::kVariable: variable(token); break;
      case Token::Kind::kWord: word(tokens, at); break;
    }
  }
  finishBlocksAndJumps();
  return Program::Code::make(std::move(details_), instructions_, registersUsed_);
}

void Compiler::word(const std::vector<Token>& tokens, size_t& at) {
  const std::string_view word = tokens[at].text;
  double number = 0.0;
  if (parseNumber(word, number) || parseHexNumber(word, number)) {
    emit(Op::kPushNumber, 0, 0, number);
  } else if (word == "if{") {
    blocks_.push_back({false, emit(Op::kJumpIfFalse), line_});
  } else if (word == "els{") {
    finding("els{ without an if{ } before it: the word is skipped");
  } else if (word == "}") {
    closeBlock(tokens, at);
  } else if (!registerWord(word) && !labelWord(word)) {
    const std::optional<Op> op = operatorNamed(lowerCase(word));
    if (op) {
      emit(*op);
    } else {
      unknownWord(word);
    }
  }
}

// "} els{" turns the if{ block into its else; a lone "}" ends the block.
void Compiler::closeBlock(const std::vector<Token>& tokens, size_t& at) {
  if (blocks_.empty()) {
    finding("} without an if{ or els{ to close: it is skipped");
    return;
  }
  Block& block = blocks_.back();
  const bool elseFollows = !block.isElse && at + 1 < tokens.size() &&
                           tokens[at + 1].kind == Token::Kind::kWord && tokens[at + 1].text == "els{";
  if (elseFollows) {
    ++at;
    line_ = tokens[at].line;
    const size_t skipElse = emit(Op::kJump);
    instructions_[block.jump].a = static_cast<int32_t>(instructions_.size());
    block = {true, skipElse, line_};
    return;
  }
  instructions_[block.jump].a = static_cast<int32_t>(instructions_.size());
  blocks_.pop_back();
}

// sN, spN, lN with N from 0 to 49.
bool Compiler::registerWord(std::string_view word) {
  struct Form {
    std::string_view prefix;
    Op op;
  };
  for (const Form& form : {Form{"sp", Op::kStorePop}, Form{"s", Op::kStore}, Form{"l", Op::kLoad}}) {
    const long long index = numberAfter(word, form.prefix);
    if (index < 0) continue;
    if (index >= kRegisterCount) return false;  // an unknown word
    emit(form.op, static_cast<int32_t>(index));
    registersUsed_ = std::max(registersUsed_, static_cast<int>(index) + 1);
    return true;
  }
  return false;
}

// ":N" marks a place, "gN" jumps to it.
bool Compiler::labelWord(std::string_view word) {
  const long long label = numberAfter(word, ":");
  if (label >= 0) {
    if (!labels_.emplace(label, instructions_.size()).second) {
      finding("label :" + std::to_string(label) + " stands twice: jumps go to the first");
    }
    return true;
  }
  const long long target = numberAfter(word, "g");
  if (target < 0) return false;
  labelJumps_.push_back({emit(Op::kJump), target, line_});
  return true;
}

void Compiler::unknownWord(std::string_view word) {
  const size_t macro = word.find('@');
  if (macro != std::string_view::npos) {
    finding("macro '" + shown(word.substr(macro)) + "' is not defined");
  } else if (word.find('&') != std::string_view::npos && word.find(';') != std::string_view::npos) {
    finding("unknown word '" + shown(word) + "' (an XML escape written twice?)");
  } else {
    finding("unknown word '" + shown(word) + "'");
  }
}

void Compiler::text(const Token& token) {
  if (token.unclosed) finding("a text without its closing quote runs to the script's end");
  const size_t offset = details_.texts.size();
  details_.texts.append(token.text);
  emit(Op::kPushText, static_cast<int32_t>(offset), static_cast<int32_t>(token.text.size()));
}

// Unclosed blocks end with the script; jumps to missing labels do nothing.
void Compiler::finishBlocksAndJumps() {
  const auto end = static_cast<int32_t>(instructions_.size());
  for (const Block& block : blocks_) {
    line_ = block.line;
    finding(std::string(block.isElse ? "els{" : "if{") + " without its closing }: it closes at the script's end");
    instructions_[block.jump].a = end;
  }
  for (const LabelJump& jump : labelJumps_) {
    const auto label = labels_.find(jump.label);
    Instruction& instruction = instructions_[jump.instruction];
    if (label == labels_.end()) {
      line_ = jump.line;
      finding("g" + std::to_string(jump.label) + " jumps to the label :" + std::to_string(jump.label) +
              ", which is not there: the jump does nothing");
      instruction.op = Op::kNop;
    } else {
      instruction.a = static_cast<int32_t>(label->second);
    }
  }
}

size_t Compiler::emit(Op op, int32_t a, int32_t b, double x) {
  Instruction instruction{};
  instruction.op = op;
  instruction.a = a;
  if (op == Op::kPushNumber) {
    instruction.x = x;
  } else {
    instruction.b = b;
  }
  instructions_.push_back(instruction);
  details_.instructionSites.push_back(siteOfLine(line_));
  return instructions_.size() - 1;
}

int Compiler::siteOfLine(int line) {
  int& site = lineSites_[static_cast<size_t>(line)];
  if (site < 0) {
    const size_t start = lineStarts_[static_cast<size_t>(line)];
    site = static_cast<int>(details_.sites.size());
    details_.sites.push_back(scriptLineSite(details_.script, line, text_.substr(start)));
  }
  return site;
}

void Compiler::finding(std::string message) {
  context_.findings.add(details_.sites[static_cast<size_t>(siteOfLine(line_))], std::move(message));
}

Program compileScript(std::string_view text, const ScriptSite& site, ScriptContext& context) {
  Program program;
  program.code_ = Compiler(text, site, context).compile();
  return program;
}

}  // namespace vorlanex::gauges
