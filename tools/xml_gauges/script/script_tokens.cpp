#include "script_tokens.h"

namespace vorlanex::gauges {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::vector<Token> scriptTokens(std::string_view script) {
  std::vector<Token> tokens;
  int line = 0;
  size_t at = 0;
  const auto countLines = [&](size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) line += script[i] == '\n' ? 1 : 0;
  };
  while (at < script.size()) {
    const char c = script[at];
    if (isBlank(c)) {
      line += c == '\n' ? 1 : 0;
      ++at;
      continue;
    }
    Token token;
    token.line = line;
    size_t end;
    if (c == '(' || c == '\'') {
      const char close = c == '(' ? ')' : '\'';
      end = script.find(close, at + 1);
      token.unclosed = end == std::string_view::npos;
      end = token.unclosed ? script.size() : end + 1;
      if (c == '(') {
        token.kind = Token::Kind::kVariable;
        token.text = script.substr(at, end - at);
      } else {
        token.kind = Token::Kind::kText;
        token.text = script.substr(at + 1, end - at - (token.unclosed ? 1 : 2));
      }
      countLines(at, end);
    } else {
      end = at;
      while (end < script.size() && !isBlank(script[end]) && script[end] != '(') ++end;
      token.text = script.substr(at, end - at);
    }
    tokens.push_back(token);
    at = end;
  }
  return tokens;
}

}  // namespace vorlanex::gauges
