// The script language's words and what each computes: the table the compiler
// reads words through, and the numeric kernels the evaluator runs.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vorlanex::gauges {

enum class Op : uint8_t {
  kNop,
  // Values and variables.
  kPushNumber, kPushText,
  kReadShared, kReadSharedBool, kWriteShared,
  kReadAircraft, kReadAircraftConverted,
  kReadGauge, kWriteGauge,
  kSendEvent,
  kReadMouseEvent, kReadMouseX, kReadMouseY, kReadKey,
  kDiscard,  // a write that goes nowhere: pops a value if there is one
  // Flow.
  kJump, kJumpIfFalse, kQuit,
  // A gauge cycle laid out flat (cycle_program.h): where each script begins
  // and ends, and what the cycle does with its value.
  kBegin,          // a: its end's index, b: the registers it resets
  kEndRun,         // an Update's end: its values stay
  kEndTake,        // a Value's end: its value is taken off, its number into result a
  kEndVisible,     // a Visible's end: its value taken, whether it shows into result b; when it hides, on at a
  kEndBlink,       // a BlinkCode's end: whether its value shows, into blink a
  kFormatString,   // the gauge string a is formatted on the stack
  // A number and the operator after it, as one when a cycle is laid out:
  // x is the number.
  kAddNumber, kSubNumber, kMulNumber, kDivideNumber, kMinNumber, kMaxNumber,
  kGreaterNumber, kLessNumber, kGreaterEqualNumber, kLessEqualNumber, kEqualNumber, kNotEqualNumber,
  // Registers.
  kStore, kStorePop, kLoad,
  // Binary on numbers, A B op: no fault possible.
  kAdd, kSub, kMul, kPow, kLog, kMin, kMax, kAtan2,
  kEqual, kNotEqual, kGreater, kLess, kGreaterEqual, kLessEqual,
  kAnd, kOr, kBitAnd, kBitOr, kBitXor, kShiftRight, kShiftLeft,
  // Binary that divide: by zero gives 0 and a finding.
  kDivide, kModulo, kIntegerDivide,
  // Unary on numbers.
  kIncrement, kDecrement, kNegate, kSquare, kSquareRoot, kExp, kLn, kLg,
  kNot, kBitNot, kAbs, kInt, kFloor, kCeil, kNear,
  kSin, kCos, kTan, kCot, kAsin, kAcos, kAtan,
  kDegreesToRadians, kRadiansToDegrees, kWrapDegrees, kWrapRadians, kEps,
  // Others.
  kPi, kChoose, kRange, kCase,
  kDuplicate, kSwap, kPop, kClear, kPick,
  // Texts.
  kCompareText, kCompareTextNoCase, kConcatenate, kFindText, kFindCharacter,
  kSubText, kCharacterAt, kCharacter, kCharacterCode, kTextLength, kLowerCase, kUpperCase, kCapitalize,
};

// The operators that take a number pushed right before them in one step.
constexpr Op kWithNumber[][2] = {
    {Op::kAdd, Op::kAddNumber}, {Op::kSub, Op::kSubNumber}, {Op::kMul, Op::kMulNumber},
    {Op::kDivide, Op::kDivideNumber}, {Op::kMin, Op::kMinNumber}, {Op::kMax, Op::kMaxNumber},
    {Op::kGreater, Op::kGreaterNumber}, {Op::kLess, Op::kLessNumber},
    {Op::kGreaterEqual, Op::kGreaterEqualNumber}, {Op::kLessEqual, Op::kLessEqualNumber},
    {Op::kEqual, Op::kEqualNumber}, {Op::kNotEqual, Op::kNotEqualNumber},
};

// The operator a word names ("+", "&&", "and", "rng"...); nothing for a
// number, a variable, a register, a label or an unknown word.
std::optional<Op> operatorNamed(std::string_view word);

// A number as a whole count: NaN reads 0 and the range is clamped, so the
// bit operators and `case` never meet a value no integer holds.
inline int64_t wholeNumber(double value) {
  if (!(value == value)) return 0;
  if (value >= 9.2e18) return INT64_MAX;
  if (value <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(value);
}

constexpr double kPi = 3.14159265358979323846;

// Into [0, period): 370 degrees is 10, -90 is 270.
inline double wrapped(double value, double period) {
  const double rest = std::fmod(value, period);
  return rest < 0.0 ? rest + period : rest;
}

inline double truth(bool value) { return value ? 1.0 : 0.0; }

// A B op, with B on top. Shifts take counts 0 to 63.
[[gnu::always_inline]] inline double applyBinary(Op op, double a, double b) {
  switch (op) {
    case Op::kAdd: return a + b;
    case Op::kSub: return a - b;
    case Op::kMul: return a * b;
    case Op::kPow: return std::pow(a, b);
    case Op::kLog: return std::log(a) / std::log(b);
    case Op::kMin: return std::fmin(a, b);
    case Op::kMax: return std::fmax(a, b);
    case Op::kAtan2: return std::atan2(a, b);
    case Op::kEqual: return truth(a == b);
    case Op::kNotEqual: return truth(a != b);
    case Op::kGreater: return truth(a > b);
    case Op::kLess: return truth(a < b);
    case Op::kGreaterEqual: return truth(a >= b);
    case Op::kLessEqual: return truth(a <= b);
    case Op::kAnd: return truth(a != 0.0 && b != 0.0);
    case Op::kOr: return truth(a != 0.0 || b != 0.0);
    case Op::kBitAnd: return static_cast<double>(wholeNumber(a) & wholeNumber(b));
    case Op::kBitOr: return static_cast<double>(wholeNumber(a) | wholeNumber(b));
    case Op::kBitXor: return static_cast<double>(wholeNumber(a) ^ wholeNumber(b));
    case Op::kShiftRight:
      return static_cast<double>(wholeNumber(a) >> (wholeNumber(b) & 63));
    case Op::kShiftLeft:
      return static_cast<double>(static_cast<int64_t>(static_cast<uint64_t>(wholeNumber(a))
                                                      << (wholeNumber(b) & 63)));
    default: return 0.0;
  }
}

// `int` cuts toward zero, `near` rounds half away from zero, `eps` is the
// distance from a value to the next larger one.
[[gnu::always_inline]] inline double applyUnary(Op op, double a) {
  switch (op) {
    case Op::kIncrement: return a + 1.0;
    case Op::kDecrement: return a - 1.0;
    case Op::kNegate: return -a;
    case Op::kSquare: return a * a;
    case Op::kSquareRoot: return std::sqrt(a);
    case Op::kExp: return std::exp(a);
    case Op::kLn: return std::log(a);
    case Op::kLg: return std::log10(a);
    case Op::kNot: return truth(a == 0.0);
    case Op::kBitNot: return static_cast<double>(~wholeNumber(a));
    case Op::kAbs: return std::fabs(a);
    case Op::kInt: return std::trunc(a);
    case Op::kFloor: return std::floor(a);
    case Op::kCeil: return std::ceil(a);
    case Op::kNear: return std::round(a);
    case Op::kSin: return std::sin(a);
    case Op::kCos: return std::cos(a);
    case Op::kTan: return std::tan(a);
    case Op::kCot: return 1.0 / std::tan(a);
    case Op::kAsin: return std::asin(a);
    case Op::kAcos: return std::acos(a);
    case Op::kAtan: return std::atan(a);
    case Op::kDegreesToRadians: return a * (kPi / 180.0);
    case Op::kRadiansToDegrees: return a * (180.0 / kPi);
    case Op::kWrapDegrees: return wrapped(a, 360.0);
    case Op::kWrapRadians: return wrapped(a, 2.0 * kPi);
    case Op::kEps: return std::nextafter(std::fabs(a), INFINITY) - std::fabs(a);
    default: return 0.0;
  }
}

}  // namespace vorlanex::gauges
