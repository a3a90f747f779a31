#include "script_facts.h"

#include <cstdlib>
#include <optional>
#include <string_view>

#include "text_case.h"
#include "script_tokens.h"

namespace vorlanex::tool {
namespace {

using gauges::Token;

bool isComparison(std::string_view word) {
  for (const char* op : {"==", "!=", ">", "<", ">=", "<=", "eq", "ne", "gt", "lt", "ge", "le"}) {
    if (gauges::equalNoCase(word, op)) return true;
  }
  return false;
}

std::optional<double> numberIn(std::string_view word) {
  const std::string text(word);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size()) return std::nullopt;
  return value;
}

// What stands on the stack as far as the reading can tell: a simulator
// variable read, a number, or something computed.
struct Operand {
  std::optional<gauges::VariableName> variable;
  std::optional<double> number;
};

// The if{ a write stands in.
struct Block {
  std::string condition;
  int line;
  bool negated = false;
};

class ScriptReader {
 public:
  ScriptReader(ScriptFacts& facts, int gauge, const std::string& file, bool inClick)
      : facts_(facts), gauge_(gauge), file_(file), inClick_(inClick) {}

  void read(const gauges::ScriptText& script) {
    if (!script.present()) return;
    const std::vector<Token> tokens = gauges::scriptTokens(script.text);
    std::size_t statementStart = 0;
    std::vector<Block> blocks;
    std::optional<Block> closed;  // the block a "}" just ended, for an els{
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      const Token& token = tokens[i];
      const int line = script.line + token.line;
      if (token.kind == Token::Kind::kVariable) {
        variable(token, line, blocks);
        if (token.text.find('>') != std::string_view::npos) statementStart = i + 1;
        continue;
      }
      if (token.kind == Token::Kind::kText) {
        stack_.push_back({});
        continue;
      }
      const std::string_view word = token.text;
      if (word == "if{") {
        blocks.push_back({condition(tokens, statementStart, i), script.line + tokens[std::min(statementStart, i)].line});
        pop(1);
        statementStart = i + 1;
        closed.reset();
      } else if (word == "els{") {
        if (closed) {
          closed->negated = true;
          blocks.push_back(*closed);
        }
        closed.reset();
        statementStart = i + 1;
      } else if (word == "}") {
        if (!blocks.empty()) {
          closed = blocks.back();
          blocks.pop_back();
        }
        statementStart = i + 1;
      } else if (const std::optional<double> number = numberIn(word)) {
        stack_.push_back({std::nullopt, number});
      } else if (isComparison(word)) {
        compare();
      } else {
        operation(word);
      }
    }
  }

 private:
  static std::string condition(const std::vector<Token>& tokens, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to; ++i) {
      text += (text.empty() ? "" : " ");
      const Token& t = tokens[i];
      text += t.kind == Token::Kind::kText ? "'" + std::string(t.text) + "'" : std::string(t.text);
    }
    return text;
  }

  void variable(const Token& token, int line, const std::vector<Block>& blocks) {
    const std::optional<gauges::VariableName> name = gauges::parseVariableName(token.text);
    if (!name) {
      stack_.push_back({});
      return;
    }
    if (!name->write) {
      if (name->kind == 'A' || name->kind == 'E') {
        stack_.push_back({name, std::nullopt});
      } else {
        stack_.push_back({});
      }
      return;
    }
    const Operand written = take();
    if (name->kind == 'K') {
      facts_.events[gauges::upperCase(name->name)].insert(written.number.value_or(0.0));
      return;
    }
    if (name->kind != 'L') return;
    VariableWriteSite site{gauge_, file_, line, "", 0, inClick_};
    if (!blocks.empty()) {
      const Block& block = blocks.back();
      site.condition = block.negated ? "not (" + block.condition + ")" : block.condition;
      site.conditionLine = block.line;
    }
    facts_.writes[name->name].push_back(site);
  }

  void compare() {
    const Operand b = take();
    const Operand a = take();
    const Operand& variable = a.variable ? a : b;
    const Operand& number = a.variable ? b : a;
    if (variable.variable && number.number) {
      const std::string key = gauges::variableText(*variable.variable);
      facts_.comparedWith[key].insert(*number.number);
      facts_.comparedVariables.emplace(key, *variable.variable);
    }
    stack_.push_back({});
  }

  // Words the reading does not follow leave something computed; the common
  // ones take their operands off first.
  void operation(std::string_view word) {
    static const char* const kUnary[] = {"!", "not", "near", "abs", "int", "flr", "ceil", "neg",
                                         "/-/", "++", "--", "~", "sqr", "sqrt"};
    static const char* const kBinary[] = {"+", "-", "*", "/", "%", "&&", "and", "||", "or",
                                          "min", "max", "&", "|", "^", "div", "pow"};
    for (const char* op : kUnary) {
      if (gauges::equalNoCase(word, op)) return replace(1);
    }
    for (const char* op : kBinary) {
      if (gauges::equalNoCase(word, op)) return replace(2);
    }
    if (word == "d" && !stack_.empty()) {
      stack_.push_back(stack_.back());
      return;
    }
    if (word == "p") return pop(1);
    if (word == "c") return stack_.clear();
    // sN keeps the value; spN takes it; lN and others push something unknown.
    if (word.size() > 1 && word[0] == 's' && word[1] == 'p') return pop(1);
    if (word.size() > 1 && word[0] == 's') return;
    stack_.push_back({});
  }

  void replace(std::size_t count) {
    pop(count);
    stack_.push_back({});
  }
  void pop(std::size_t count) {
    for (std::size_t i = 0; i < count && !stack_.empty(); ++i) stack_.pop_back();
  }
  Operand take() {
    if (stack_.empty()) return {};
    Operand top = stack_.back();
    stack_.pop_back();
    return top;
  }

  ScriptFacts& facts_;
  int gauge_;
  const std::string& file_;
  bool inClick_;
  std::vector<Operand> stack_;
};

void readElement(const gauges::GaugeElement& element, ScriptReader& reader) {
  reader.read(element.visible);
  for (const gauges::ScriptText& value : element.values) reader.read(value);
  reader.read(element.blinkCode);
  for (const gauges::GaugeElement& child : element.children) readElement(child, reader);
}

void readArea(const gauges::MouseArea& area, ScriptFacts& facts, int gauge, const std::string& file) {
  ScriptReader(facts, gauge, file, false).read(area.visible);
  for (const gauges::Click& click : area.clicks) {
    if (!click.event.empty()) facts.events[gauges::upperCase(click.event)].insert(0.0);
    ScriptReader(facts, gauge, file, true).read(click.script);
  }
  for (const gauges::MouseArea& inner : area.areas) readArea(inner, facts, gauge, file);
}

}  // namespace

ScriptFacts readScriptFacts(const gauges::GaugePanel& panel) {
  ScriptFacts facts;
  const std::vector<gauges::PanelGaugeLine>& lines = panel.gauges();
  for (std::size_t g = 0; g < lines.size(); ++g) {
    if (!lines[g].text) continue;
    const int gauge = static_cast<int>(g);
    const gauges::GaugeModel& model = panel.model(gauge);
    const std::string& file = lines[g].file;
    // Each script on a stack of its own: a cycle's leftovers are rare in
    // what decides a sound.
    ScriptReader(facts, gauge, file, false).read(model.update);
    for (const gauges::GaugeElement& element : model.elements) {
      ScriptReader reader(facts, gauge, file, false);
      readElement(element, reader);
    }
    if (model.mouse) readArea(*model.mouse, facts, gauge, file);
    for (const gauges::KeyHandler& key : model.keys) ScriptReader(facts, gauge, file, true).read(key.script);
  }
  return facts;
}

}  // namespace vorlanex::tool
