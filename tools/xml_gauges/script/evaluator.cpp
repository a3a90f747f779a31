#include <algorithm>
#include <cmath>
#include <cstring>

#include "cycle_program.h"
#include "script_machine.h"

namespace vorlanex::gauges {
namespace {

constexpr size_t kTextBufferSize = 64 * 1024;

// Both whole numbers that a 64-bit integer holds exactly.
bool wholeNumbers(double a, double b) {
  constexpr double kExact = 9007199254740992.0;  // 2^53
  return a == std::trunc(a) && b == std::trunc(b) && std::fabs(a) < kExact && std::fabs(b) < kExact;
}

// What a run is told when it takes a value an earlier script of the cycle
// left on the shared stack.
std::string leftoverMessage(const ScriptSite* leftBy, const char* what) {
  std::string message = std::string(what) + " left on the gauge's shared stack by an earlier script";
  if (leftBy != nullptr) message += " (line " + std::to_string(leftBy->line) + ")";
  return message + ": the simulator's scripts of a cycle share one stack";
}

}  // namespace

Machine::Machine(const Program::Code& code, ScriptContext& context, ScriptStack& stack)
    : code_(code),
      context_(context),
      stackState_(stack),
      scriptEnd_(code.size),
      stack_(stack.cells),
      depth_(stack.depth),
      base_(stack.depth),
      registers_(context.registers != nullptr ? context.registers->cells : ownRegisters_.cells) {
  if (context.registers == nullptr) {
    for (int i = 0; i < code.registersUsed; ++i) registers_[i] = Cell{};
  }
  if (code.toldTo != &context.findings) {
    code.told.assign(code.size, 0);
    code.toldTo = &context.findings;
    code.toldResultLeftover = false;
  }
}

// The stack's texts, their room taken once, so that they never move while a
// text operation reads two of them and writes a third.
std::string& Machine::texts() {
  std::string& buffer = stackState_.texts;
  if (buffer.capacity() < kTextBufferSize) buffer.reserve(kTextBufferSize);
  return buffer;
}

// Whether the top `count` values (1 or 2) are numbers of the run's own, as
// most operators find them: then the result takes their place in place.
inline bool Machine::ownNumbers(int count) const {
  if (own() < count) return false;
  return count == 1 ? stack_[depth_ - 1].where == Cell::kNumber
                    : (stack_[depth_ - 1].where | stack_[depth_ - 2].where) == Cell::kNumber;
}

template <Op kOp>
inline void Machine::binary() {
  if (ownNumbers(2)) {
    Cell& a = stack_[depth_ - 2];
    a.number = applyBinary(kOp, a.number, stack_[depth_ - 1].number);
    --depth_;
    return;
  }
  binaryOnAny(kOp);
}

// A text, or a value an earlier script left: read as a number, each told.
void Machine::binaryOnAny(Op op) {
  const double b = popNumber();
  const double a = popNumber();
  pushNumber(applyBinary(op, a, b));
}

// A number pushed and the operator after it, in one step: on the run's own
// number on top, in place; otherwise as the two steps would run.
template <Op kOp>
inline void Machine::binaryWithNumber(double b) {
  if (ownNumbers(1) && depth_ < kStackDepth && (kOp != Op::kDivide || b != 0.0)) {
    Cell& a = stack_[depth_ - 1];
    a.number = kOp == Op::kDivide ? a.number / b : applyBinary(kOp, a.number, b);
    return;
  }
  pushNumber(b);
  if (kOp == Op::kEqual || kOp == Op::kNotEqual) {
    compare(kOp);
  } else if (kOp == Op::kDivide) {
    divide(kOp);
  } else {
    binaryOnAny(kOp);
  }
}

template <Op kOp>
inline void Machine::unary() {
  if (ownNumbers(1)) {
    Cell& a = stack_[depth_ - 1];
    a.number = applyUnary(kOp, a.number);
    return;
  }
  pushNumber(applyUnary(kOp, popNumber()));
}

Value Machine::run(bool takeResult) {
  const Instruction* instructions = code_.instructions();
  const size_t size = code_.size;
  // The steps a script may still take. Only a jump back repeats steps, so
  // only such a jump is charged, with the steps it goes back over.
  long budget = kStepLimit;
  size_t next = 0;
  while (next < size) {
    current_ = next++;
    const Instruction& in = instructions[current_];
    switch (in.op) {
      case Op::kNop: break;
      case Op::kPushNumber: pushNumber(in.x); break;
      case Op::kPushText:
        pushProgramText(in);
        break;
      case Op::kReadShared: pushNumber(context_.shared.get(in.a)); break;
      case Op::kReadSharedBool: pushNumber(context_.shared.get(in.a) != 0.0 ? 1.0 : 0.0); break;
      case Op::kWriteShared: {
        const double value = popNumber();
        context_.shared.set(in.a, value, code_.siteOf(current_));
        break;
      }
      case Op::kReadAircraft: pushNumber(context_.aircraft.get(in.a)); break;
      case Op::kReadAircraftConverted:
        pushNumber(code_.details.conversions[static_cast<size_t>(in.b)].apply(context_.aircraft.get(in.a)));
        break;
      case Op::kReadGauge: pushNumber(context_.gaugeVariables != nullptr ? context_.gaugeVariables[in.a] : 0.0); break;
      case Op::kWriteGauge: {
        const double value = popNumber();
        if (context_.gaugeVariables != nullptr) context_.gaugeVariables[in.a] = value;
        break;
      }
      case Op::kSendEvent: {
        const double value = depth_ > 0 ? popNumber() : 0.0;
        context_.aircraft.send(code_.details.events[static_cast<size_t>(in.a)], value, code_.siteOf(current_));
        break;
      }
      case Op::kReadMouseEvent: pushText(context_.mouseEvent); break;
      case Op::kReadMouseX: pushNumber(context_.mouseX); break;
      case Op::kReadMouseY: pushNumber(context_.mouseY); break;
      case Op::kReadKey: pushText(context_.key); break;
      case Op::kDiscard:
        if (depth_ > 0) pop();
        break;

      case Op::kJump:
        if (static_cast<size_t>(in.a) <= current_) {
          budget -= static_cast<long>(current_ + 1 - static_cast<size_t>(in.a));
          if (budget < 0) {
            tell(kSteps, "the script ran too many steps (an endless loop?) and was stopped");
            next = scriptEnd_;
            break;
          }
        }
        next = static_cast<size_t>(in.a);
        break;
      case Op::kJumpIfFalse:
        if (popNumber() == 0.0) next = static_cast<size_t>(in.a);
        break;
      case Op::kQuit: next = size; break;

      case Op::kBegin:
        if (kStackSharing == StackSharing::kPerScript) depth_ = 0;
        base_ = depth_;
        scriptEnd_ = static_cast<size_t>(in.a);
        budget = kStepLimit;
        for (int i = 0; i < in.b; ++i) registers_[i] = Cell{};
        break;
      case Op::kEndRun: settle<false>(); break;
      case Op::kEndTake:
        results_[in.a] = resultNumber();
        settle<true>();
        break;
      case Op::kEndVisible:
        if (settle<true>()) {
          results_[in.b] = 1.0;
        } else {
          results_[in.b] = 0.0;
          next = static_cast<size_t>(in.a);
        }
        break;
      case Op::kEndBlink: blinks_[in.a] = settle<true>() ? 1 : 0; break;
      case Op::kFormatString: formatString(in.a); break;

      case Op::kStore:
        if (depth_ == 0) tell(kUnderflow, "storing from an empty stack: 0 is stored");
        if (depth_ > 0 && own() == 0) tellLeftover();
        registers_[in.a] = depth_ > 0 ? stack_[depth_ - 1] : Cell{};
        break;
      case Op::kStorePop: registers_[in.a] = pop(); break;
      case Op::kLoad: push(registers_[in.a]); break;

      case Op::kEqual:
      case Op::kNotEqual:
        if (ownNumbers(2)) {
          Cell& a = stack_[depth_ - 2];
          a.number = truth((a.number == stack_[depth_ - 1].number) == (in.op == Op::kEqual));
          --depth_;
        } else {
          compare(in.op);
        }
        break;
// Each operator its own case, its work inlined with the operator known.
#define VORLANEX_BINARY(op) case Op::op: binary<Op::op>(); break;
#define VORLANEX_UNARY(op) case Op::op: unary<Op::op>(); break;
      VORLANEX_BINARY(kAdd) VORLANEX_BINARY(kSub) VORLANEX_BINARY(kMul) VORLANEX_BINARY(kPow)
      VORLANEX_BINARY(kLog) VORLANEX_BINARY(kMin) VORLANEX_BINARY(kMax) VORLANEX_BINARY(kAtan2)
      VORLANEX_BINARY(kGreater) VORLANEX_BINARY(kLess) VORLANEX_BINARY(kGreaterEqual)
      VORLANEX_BINARY(kLessEqual) VORLANEX_BINARY(kAnd) VORLANEX_BINARY(kOr) VORLANEX_BINARY(kBitAnd)
      VORLANEX_BINARY(kBitOr) VORLANEX_BINARY(kBitXor) VORLANEX_BINARY(kShiftRight)
      VORLANEX_BINARY(kShiftLeft)
      VORLANEX_UNARY(kIncrement) VORLANEX_UNARY(kDecrement) VORLANEX_UNARY(kNegate)
      VORLANEX_UNARY(kSquare) VORLANEX_UNARY(kSquareRoot) VORLANEX_UNARY(kExp) VORLANEX_UNARY(kLn)
      VORLANEX_UNARY(kLg) VORLANEX_UNARY(kNot) VORLANEX_UNARY(kBitNot) VORLANEX_UNARY(kAbs)
      VORLANEX_UNARY(kInt) VORLANEX_UNARY(kFloor) VORLANEX_UNARY(kCeil) VORLANEX_UNARY(kNear)
      VORLANEX_UNARY(kSin) VORLANEX_UNARY(kCos) VORLANEX_UNARY(kTan) VORLANEX_UNARY(kCot)
      VORLANEX_UNARY(kAsin) VORLANEX_UNARY(kAcos) VORLANEX_UNARY(kAtan)
      VORLANEX_UNARY(kDegreesToRadians) VORLANEX_UNARY(kRadiansToDegrees) VORLANEX_UNARY(kWrapDegrees)
      VORLANEX_UNARY(kWrapRadians) VORLANEX_UNARY(kEps)
#define VORLANEX_WITH_NUMBER(op, plain) case Op::op: binaryWithNumber<Op::plain>(in.x); break;
      VORLANEX_WITH_NUMBER(kAddNumber, kAdd) VORLANEX_WITH_NUMBER(kSubNumber, kSub)
      VORLANEX_WITH_NUMBER(kMulNumber, kMul) VORLANEX_WITH_NUMBER(kDivideNumber, kDivide)
      VORLANEX_WITH_NUMBER(kMinNumber, kMin) VORLANEX_WITH_NUMBER(kMaxNumber, kMax)
      VORLANEX_WITH_NUMBER(kGreaterNumber, kGreater) VORLANEX_WITH_NUMBER(kLessNumber, kLess)
      VORLANEX_WITH_NUMBER(kGreaterEqualNumber, kGreaterEqual) VORLANEX_WITH_NUMBER(kLessEqualNumber, kLessEqual)
      VORLANEX_WITH_NUMBER(kEqualNumber, kEqual) VORLANEX_WITH_NUMBER(kNotEqualNumber, kNotEqual)
#undef VORLANEX_BINARY
#undef VORLANEX_UNARY
#undef VORLANEX_WITH_NUMBER
      case Op::kDivide:
        if (ownNumbers(2) && stack_[depth_ - 1].number != 0.0) {
          Cell& a = stack_[depth_ - 2];
          a.number /= stack_[depth_ - 1].number;
          --depth_;
        } else {
          divide(in.op);
        }
        break;
      case Op::kModulo:
      case Op::kIntegerDivide: divide(in.op); break;
      case Op::kPi: pushNumber(kPi); break;
      case Op::kChoose: choose(); break;
      case Op::kRange: range(); break;
      case Op::kCase: selectCase(); break;
      case Op::kDuplicate:
        if (depth_ == 0) tell(kUnderflow, "duplicating an empty stack: 0 is pushed");
        if (depth_ > 0 && own() == 0) tellLeftover();
        push(depth_ > 0 ? stack_[depth_ - 1] : Cell{});
        break;
      case Op::kSwap: {
        const Cell b = pop();
        const Cell a = pop();
        push(b);
        push(a);
        break;
      }
      case Op::kPop: pop(); break;
      case Op::kClear: depth_ = base_ = 0; break;
      case Op::kPick: pick(); break;

      default: textOperation(in.op); break;
    }
  }
  return result(takeResult);
}

Value Machine::result(bool takeResult) {
  Value result;
  if (depth_ > 0) {
    const Cell& top = stack_[depth_ - 1];
    if (top.where == Cell::kNumber) {
      result.number = top.number;
    } else {
      char buffer[32];
      result.text = std::string(textOf(top, buffer));
      result.number = numberOf(top);
      result.isText = true;
    }
    if (takeResult && own() == 0 && !code_.toldResultLeftover) {
      code_.toldResultLeftover = true;
      context_.findings.add(code_.details.script, leftoverMessage(stackState_.leftBy, "its result is a value"));
    }
    if (takeResult) --depth_;
  }
  base_ = std::min(base_, depth_);
  if (own() > 0) stackState_.leftBy = &code_.details.script;
  stackState_.depth = depth_;
  return result;
}

void Machine::runCycle(uint8_t* blinks, double* results, CycleStrings& strings) {
  blinks_ = blinks;
  results_ = results;
  strings_ = &strings;
  run(false);
}

// The end of a script of a cycle: as result() leaves the stack, its value's
// showing given (a text shows when not empty, a number when not 0).
template <bool kTake>
inline bool Machine::settle() {
  if (depth_ <= base_) return settleOnLeftovers(kTake);
  const Cell& top = stack_[depth_ - 1];
  const bool shows = top.where == Cell::kNumber ? top.number != 0.0 : top.length != 0;
  if (kTake) --depth_;
  if (depth_ > base_) stackState_.leftBy = &code_.siteOf(current_);
  return shows;
}

// The same when the script has no value of its own on top.
bool Machine::settleOnLeftovers(bool takeResult) {
  bool shows = false;
  if (depth_ > 0) {
    const Cell& top = stack_[depth_ - 1];
    shows = top.where == Cell::kNumber ? top.number != 0.0 : top.length != 0;
    if (takeResult) {
      if ((code_.told[current_] & kLeftover) == 0) {
        code_.told[current_] |= kLeftover;
        context_.findings.add(code_.siteOf(current_), leftoverMessage(stackState_.leftBy, "its result is a value"));
      }
      --depth_;
    }
  }
  base_ = std::min(base_, depth_);
  return shows;
}

// A string formats on the cycle's stack, by machines of its own.
void Machine::formatString(int index) {
  stackState_.depth = depth_;
  strings_->format(index, context_);
  depth_ = base_ = stackState_.depth;
}

void Machine::tell(Told what, const char* message) {
  uint8_t& told = code_.told[current_];
  if ((told & what) != 0) return;
  told = static_cast<uint8_t>(told | what);
  context_.findings.add(code_.siteOf(current_), message);
}

Cell Machine::popBelowStart() {
  if (depth_ == 0) {
    tell(kUnderflow, "popping an empty stack: 0 is read");
    return Cell{};
  }
  tellLeftover();
  --base_;
  return stack_[--depth_];
}

void Machine::tellLeftover() {
  if ((code_.told[current_] & kLeftover) != 0) return;
  tell(kLeftover, leftoverMessage(stackState_.leftBy, "it takes a value"));
}

// The bottom value goes; the run's own values keep their place above its start.
void Machine::dropBottom() {
  tell(kDepth, "a push onto the full stack (" + std::to_string(kStackDepth) + " values) drops its bottom value");
  std::memmove(stack_, stack_ + 1, sizeof(Cell) * (kStackDepth - 1));
  --depth_;
  if (base_ > 0) --base_;
}

// Texts compare as texts when both are texts; otherwise as numbers.
void Machine::compare(Op op) {
  const Cell b = pop();
  const Cell a = pop();
  bool equal;
  if (a.where != Cell::kNumber && b.where != Cell::kNumber) {
    char bufferA[32];
    char bufferB[32];
    equal = textOf(a, bufferA) == textOf(b, bufferB);
  } else {
    equal = numberOf(a) == numberOf(b);
  }
  pushNumber(truth(op == Op::kEqual ? equal : !equal));
}

void Machine::divide(Op op) {
  const double b = popNumber();
  const double a = popNumber();
  if (b == 0.0) {
    tell(kDivision, "division by zero gives 0");
    pushNumber(0.0);
  } else if (op == Op::kDivide) {
    pushNumber(a / b);
  } else if (op == Op::kModulo) {
    // Whole numbers, as a G: counter's, skip fmod's slower path: same result.
    pushNumber(wholeNumbers(a, b) ? static_cast<double>(static_cast<int64_t>(a) % static_cast<int64_t>(b))
                                  : std::fmod(a, b));
  } else {
    pushNumber(std::trunc(a / b));
  }
}

// A B C ?: A when C holds, else B.
void Machine::choose() {
  const double condition = popNumber();
  const Cell b = pop();
  const Cell a = pop();
  push(condition != 0.0 ? a : b);
}

// X LOW HIGH rng: 1 when X lies between the bounds, in either order.
void Machine::range() {
  double high = popNumber();
  double low = popNumber();
  const double x = popNumber();
  if (low > high) std::swap(low, high);
  pushNumber(truth(x >= low && x <= high));
}

// N b: a copy of the value N places below the top.
void Machine::pick() {
  const int64_t places = wholeNumber(popNumber());
  if (places < 0 || places >= depth_) {
    tell(kUnderflow, "b reaches below the stack: 0 is pushed");
    pushNumber(0.0);
    return;
  }
  if (places >= own()) tellLeftover();
  push(stack_[depth_ - 1 - places]);
}

// v(K-1) ... v1 v0 K I case: v[I], the K values taken off. An index out of
// range gives 0.
void Machine::selectCase() {
  const int64_t index = wholeNumber(popNumber());
  int64_t count = wholeNumber(popNumber());
  if (count < 0) count = 0;
  if (count > depth_) {
    tell(kUnderflow, "case takes more values than the stack holds: the missing ones read 0");
  }
  const int available = static_cast<int>(std::min<int64_t>(count, depth_));
  if (available > own()) tellLeftover();
  const Cell chosen = index >= 0 && index < available ? stack_[depth_ - 1 - index] : Cell{};
  depth_ -= available;
  base_ = std::min(base_, depth_);
  push(chosen);
}

namespace {

Value runOn(const Program::Code* code, ScriptContext& context, bool takeResult) {
  if (context.stack != nullptr) {
    if (code == nullptr) return {};
    return Machine(*code, context, *context.stack).run(takeResult);
  }
  if (code == nullptr) return {};
  ScriptStack fresh;
  return Machine(*code, context, fresh).run(takeResult);
}

}  // namespace

Value runScript(const Program& program, ScriptContext& context) {
  return runOn(program.code_.get(), context, false);
}

Value evaluateScript(const Program& program, ScriptContext& context) {
  return runOn(program.code_.get(), context, true);
}

}  // namespace vorlanex::gauges
