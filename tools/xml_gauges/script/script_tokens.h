// A gauge script cut into its tokens: words and numbers between blanks,
// variables in parentheses, texts in single quotes.
#pragma once

#include <string_view>
#include <vector>

namespace vorlanex::gauges {

struct Token {
  enum class Kind { kWord, kVariable, kText } kind = Kind::kWord;
  std::string_view text;  // a variable with its parentheses, a text without its quotes
  int line = 0;           // counted from the script's first line, 0-based
  bool unclosed = false;  // a variable or text that runs to the script's end
};

// A '(' opens a variable even inside a word and runs to the next ')'; a quote
// at a token's start opens a text running to the next quote.
std::vector<Token> scriptTokens(std::string_view script);

}  // namespace vorlanex::gauges
