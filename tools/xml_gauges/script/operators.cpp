#include "operators.h"

namespace vorlanex::gauges {
namespace {

struct Word {
  std::string_view word;
  Op op;
};

// Choices where implementations differ, as working panels use them:
//   X LOW HIGH rng       1 when LOW <= X <= HIGH (the bounds in either order)
//   TEXT PART sstr       where PART first stands in TEXT, -1 when nowhere
//   TEXT FROM TO ssub    the characters from FROM up to, not including, TO
//   v(K-1) ... v1 v0 K I case   v[I], v0 being pushed just before K
//   N b                  a copy of the value N places below the top (0 b is d)
constexpr Word kWords[] = {
    {"+", Op::kAdd}, {"-", Op::kSub}, {"*", Op::kMul}, {"/", Op::kDivide}, {"%", Op::kModulo},
    {"++", Op::kIncrement}, {"--", Op::kDecrement}, {"neg", Op::kNegate}, {"/-/", Op::kNegate},
    {"div", Op::kIntegerDivide}, {"sqr", Op::kSquare}, {"sqrt", Op::kSquareRoot}, {"pow", Op::kPow},
    {"exp", Op::kExp}, {"ln", Op::kLn}, {"lg", Op::kLg}, {"log", Op::kLog},

    {"==", Op::kEqual}, {"!=", Op::kNotEqual}, {">", Op::kGreater}, {"<", Op::kLess},
    {">=", Op::kGreaterEqual}, {"<=", Op::kLessEqual},
    {"eq", Op::kEqual}, {"ne", Op::kNotEqual}, {"gt", Op::kGreater}, {"lt", Op::kLess},
    {"ge", Op::kGreaterEqual}, {"le", Op::kLessEqual},

    {"!", Op::kNot}, {"not", Op::kNot}, {"&&", Op::kAnd}, {"and", Op::kAnd}, {"||", Op::kOr},
    {"or", Op::kOr},
    {"&", Op::kBitAnd}, {"|", Op::kBitOr}, {"^", Op::kBitXor}, {"~", Op::kBitNot},
    {">>", Op::kShiftRight}, {"<<", Op::kShiftLeft},

    {"?", Op::kChoose}, {"rng", Op::kRange}, {"case", Op::kCase},

    {"abs", Op::kAbs}, {"int", Op::kInt}, {"flr", Op::kFloor}, {"ceil", Op::kCeil},
    {"near", Op::kNear}, {"min", Op::kMin}, {"max", Op::kMax},
    {"sin", Op::kSin}, {"cos", Op::kCos}, {"tg", Op::kTan}, {"ctg", Op::kCot},
    {"asin", Op::kAsin}, {"acos", Op::kAcos}, {"atg", Op::kAtan}, {"atg2", Op::kAtan2},
    {"pi", Op::kPi}, {"dgrd", Op::kDegreesToRadians}, {"rddg", Op::kRadiansToDegrees},
    {"dnor", Op::kWrapDegrees}, {"d360", Op::kWrapDegrees}, {"rdeg", Op::kWrapDegrees},
    {"rnor", Op::kWrapRadians}, {"eps", Op::kEps},

    {"d", Op::kDuplicate}, {"r", Op::kSwap}, {"p", Op::kPop}, {"c", Op::kClear}, {"b", Op::kPick},
    {"quit", Op::kQuit},

    {"scmp", Op::kCompareText}, {"scmi", Op::kCompareTextNoCase}, {"scat", Op::kConcatenate},
    {"sstr", Op::kFindText}, {"schr", Op::kFindCharacter}, {"ssub", Op::kSubText},
    {"symb", Op::kCharacterAt}, {"chr", Op::kCharacter}, {"ord", Op::kCharacterCode},
    {"slen", Op::kTextLength},
    {"lc", Op::kLowerCase}, {"uc", Op::kUpperCase}, {"cap", Op::kCapitalize},
};

}  // namespace

std::optional<Op> operatorNamed(std::string_view word) {
  for (const Word& entry : kWords) {
    if (entry.word == word) return entry.op;
  }
  return std::nullopt;
}

}  // namespace vorlanex::gauges
