#include "retouch/expr_evaluator.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

namespace quilla {
namespace {

// Code bytes besides the operators, which are one character each. The comparisons have
// codes of their own: '$' ==, '#' !=, ';' >=, '"' <=; '~' is negation.
constexpr uint8_t kPushVariable = 1, kCallFunction = 2, kPushConstant = 3;

// The exceptions that make an execution error; inexact results and underflow are normal.
constexpr int kTrappedExceptions = FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO;

struct FunctionInfo {
  const char* name;
  int arguments;
};
// The code refers to a function by its index here.
constexpr FunctionInfo kFunctions[] = {
    {"Log", 2},  {"Ln", 1},    {"Exp", 1},   {"Sin", 1},  {"Cos", 1},  {"Tan", 1},
    {"Cotg", 1}, {"Sec", 1},   {"Cosec", 1}, {"Atan", 1}, {"Asin", 1}, {"Acos", 1},
    {"Abs", 1},  {"Sinh", 1},  {"Cosh", 1},  {"Tanh", 1},
};

// mingw-w64's library reports some range errors only through errno (exp(1000) is an
// infinity with no status raised): a result that is not finite from finite operands raises
// the exception it stands for.
double RaiseIfNotFinite(double result, double a, double b) {
  if (!std::isfinite(result) && std::isfinite(a) && std::isfinite(b))
    std::feraiseexcept(std::isnan(result) ? FE_INVALID : FE_OVERFLOW);
  return result;
}

double LibraryFunction(int index, double a, double b) {
  switch (index) {
    case 0: return std::log(a) / std::log(b);
    case 1: return std::log(a);
    case 2: return std::exp(a);
    case 3: return std::sin(a);
    case 4: return std::cos(a);
    case 5: return std::tan(a);
    case 6: return 1 / std::tan(a);
    case 7: return 1 / std::cos(a);
    case 8: return 1 / std::sin(a);
    case 9: return std::atan(a);
    case 10: return std::asin(a);
    case 11: return std::acos(a);
    case 12: return std::fabs(a);
    case 13: return std::sinh(a);
    case 14: return std::cosh(a);
    default: return std::tanh(a);
  }
}

double CallFunction(int index, double a, double b) { return RaiseIfNotFinite(LibraryFunction(index, a, b), a, b); }

struct ConstantInfo {
  const char* name;
  double value;
};
constexpr ConstantInfo kConstants[] = {{"e", 2.7182818284}, {"pi", 3.1415926535}};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool SameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// "%" works on 32-bit integers; a floor outside their range is an invalid operation.
bool FitsInteger(double value) { return value >= -2147483648.0 && value < 2147483648.0; }

double Remainder(double a, double b) {
  if (!FitsInteger(a) || !FitsInteger(b)) {
    std::feraiseexcept(FE_INVALID);
    return 0;
  }
  return double(int64_t(a) % int64_t(b));
}

double BinaryOperation(uint8_t op, double a, double b) {
  switch (op) {
    case '+': return a + b;
    case '-': return a - b;
    case '*': return a * b;
    case '/': return a / b;
    case '%': return Remainder(std::floor(a), std::floor(b));
    case '^': return RaiseIfNotFinite(std::pow(a, b), a, b);
    case '&': return a != 0 && b != 0;
    case '|': return a != 0 || b != 0;
    case '>': return a > b;
    case '<': return a < b;
    case '$': return a == b;
    case '#': return a != b;
    case ';': return a >= b;
    default: return a <= b;  // '"'
  }
}

}  // namespace

// A recursive descent over the text without blanks, writing postfix code as it goes; the
// first error ends it.
class ExprCompiler {
 public:
  ExprCompiler(ExprEvaluator& evaluator, std::string_view text, ExprCode& code, bool allowNewVariables)
      : evaluator_(evaluator), text_(text), code_(code), allowNewVariables_(allowNewVariables) {}

  void Run() {
    if (!Advance() || !Conditional()) return;
    if (token_.kind != Kind::End) {
      Fail(kExprSyntaxError);
      return;
    }
    code_[size_] = 0;  // Emit keeps room for it
  }

 private:
  enum class Kind { End, Number, Name, Operator, Other };
  struct Token {
    Kind kind = Kind::End;
    uint8_t op = 0;  // the code byte of an operator
    double number = 0;
    std::string_view name;
  };

  // Nesting a 254-character text can reach, with room; beyond it the C stack is at risk.
  static constexpr int kMaxNesting = 256;
  // The two-operand levels from the lowest precedence, each grouping to the left.
  static constexpr std::string_view kLevels[] = {"&|", "$#><;\"", "+-", "*/%"};

  bool Fail(int error) {
    evaluator_.error_ = error;
    return false;
  }
  bool Is(uint8_t op) const { return token_.kind == Kind::Operator && token_.op == op; }

  bool Emit(std::initializer_list<uint8_t> bytes) {
    if (size_ + bytes.size() >= code_.size()) return Fail(kExprTooLong);  // keeps the final 0
    for (uint8_t b : bytes) code_[size_++] = b;
    return true;
  }
  bool EmitConstant(double value) {
    uint8_t bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    return Emit({kPushConstant, bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7]});
  }

  // Reads the next token into token_.
  bool Advance() {
    token_ = Token{};
    if (pos_ >= text_.size()) return true;
    const size_t start = pos_;
    const char c = text_[pos_++];
    if (IsDigit(c)) {
      ReadNumber(start);
    } else if (IsLetter(c)) {
      while (pos_ < text_.size() && (IsLetter(text_[pos_]) || text_[pos_] == '_')) ++pos_;
      if (pos_ - start >= kMaxVariableName) return Fail(kExprTooLongIdentifier);
      token_.kind = Kind::Name;
      token_.name = text_.substr(start, pos_ - start);
    } else if (std::string_view("+-*/%^&|!?:><(),=").find(c) != std::string_view::npos) {
      token_.kind = Kind::Operator;
      token_.op = uint8_t(c);
      const char next = pos_ < text_.size() ? text_[pos_] : '\0';
      static constexpr struct { char first, second; uint8_t op; } kPairs[] = {
          {'=', '=', '$'}, {'!', '=', '#'}, {'>', '=', ';'}, {'<', '=', '"'}, {'&', '&', '&'}, {'|', '|', '|'}};
      for (const auto& pair : kPairs)
        if (c == pair.first && next == pair.second) {
          token_.op = pair.op;
          ++pos_;
          break;
        }
    } else {
      token_.kind = Kind::Other;
    }
    return true;
  }

  // Digits, an optional fraction and an optional exponent, from `start`.
  void ReadNumber(size_t start) {
    auto digits = [&] {
      while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    };
    digits();
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      digits();
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      size_t sign = pos_ + 1 < text_.size() && (text_[pos_ + 1] == '+' || text_[pos_ + 1] == '-') ? 1 : 0;
      if (pos_ + 1 + sign < text_.size() && IsDigit(text_[pos_ + 1 + sign])) {
        pos_ += 1 + sign;
        digits();
      }
    }
    // The program keeps the "C" locale, whose decimal point is '.'; out of range gives
    // infinity or 0.
    token_.kind = Kind::Number;
    token_.number = std::strtod(std::string(text_.substr(start, pos_ - start)).c_str(), nullptr);
  }

  bool Conditional() {
    if (!Binary(0)) return false;
    while (Is('?')) {
      if (!Advance() || !Binary(0)) return false;
      if (!Is(':')) return Fail(kExprSyntaxError);
      if (!Advance() || !Binary(0) || !Emit({'?'})) return false;
    }
    return true;
  }

  bool Binary(size_t level) {
    if (level == std::size(kLevels)) return Power();
    if (!Binary(level + 1)) return false;
    while (token_.kind == Kind::Operator && kLevels[level].find(char(token_.op)) != std::string_view::npos) {
      const uint8_t op = token_.op;
      if (!Advance() || !Binary(level + 1) || !Emit({op})) return false;
    }
    return true;
  }

  // a^b^c is a^(b^c): the postfix a b c ^ ^.
  bool Power() {
    if (!Unary()) return false;
    int powers = 0;
    for (; Is('^'); ++powers)
      if (!Advance() || !Unary()) return false;
    for (; powers > 0; --powers)
      if (!Emit({'^'})) return false;
    return true;
  }

  bool Unary() {
    if (nesting_ == kMaxNesting) return Fail(kExprTooLong);
    ++nesting_;
    const bool ok = UnaryBody();
    --nesting_;
    return ok;
  }

  bool UnaryBody() {
    if (Is('-') || Is('!')) {
      const uint8_t op = Is('-') ? '~' : '!';
      return Advance() && Unary() && Emit({op});
    }
    if (Is('+')) return Advance() && Unary();
    if (Is('(')) {
      if (!Advance() || !Conditional()) return false;
      if (!Is(')')) return Fail(kExprUnbalancedParenthesis);
      return Advance();
    }
    if (token_.kind == Kind::Number) return EmitConstant(token_.number) && Advance();
    if (token_.kind == Kind::Name) return Name();
    return Fail(kExprSyntaxError);
  }

  // A name is a function, a constant or a variable, looked up in that order.
  bool Name() {
    const std::string_view name = token_.name;
    for (size_t f = 0; f < std::size(kFunctions); ++f)
      if (SameName(name, kFunctions[f].name)) return Function(f);
    for (const ConstantInfo& constant : kConstants)
      if (SameName(name, constant.name)) return EmitConstant(constant.value) && Advance();
    int slot = evaluator_.FindVariable(name);
    if (slot < 0) {
      if (!allowNewVariables_) return Fail(kExprUndefinedVariable);
      slot = evaluator_.AddVariable(std::string(name), 0);
      if (slot < 0) return false;
    }
    if (!Advance()) return false;
    if (!Is('=')) return Emit({kPushVariable, uint8_t(slot)});
    return Advance() && Conditional() && Emit({'=', kPushVariable, uint8_t(slot)});
  }

  bool Function(size_t index) {
    if (!Advance()) return false;
    if (!Is('(')) return Fail(kExprUnbalancedParenthesis);
    for (int argument = 0; argument < kFunctions[index].arguments; ++argument) {
      if (argument > 0 && !Is(',')) return Fail(kExprCommaExpected);
      if (!Advance() || !Conditional()) return false;
    }
    if (!Is(')')) return Fail(kExprParenthesisExpected);
    return Emit({kCallFunction, uint8_t(index)}) && Advance();
  }

  ExprEvaluator& evaluator_;
  std::string_view text_;
  ExprCode& code_;
  bool allowNewVariables_;
  size_t pos_ = 0, size_ = 0;
  int nesting_ = 0;
  Token token_;
};

bool ExprEvaluator::Initialize(int maxVariables) {
  Shutdown();
  error_ = kExprNoErrors;
  const size_t slots = size_t(std::clamp(maxVariables, 0, 256));
  try {
    variables_.reserve(slots);
  } catch (const std::bad_alloc&) {
    return false;
  }
  maxVariables_ = slots;
  return true;
}

void ExprEvaluator::Shutdown() {
  variables_ = {};
  maxVariables_ = 0;
}

int ExprEvaluator::AddVariable(const std::string& name, double value) {
  if (variables_.size() >= maxVariables_) {
    error_ = kExprTooManyVariables;
    return -1;
  }
  std::string kept = name.substr(0, kMaxVariableName);
  kept.erase(kept.find_last_not_of(' ') + 1);
  variables_.push_back({std::move(kept), value});
  return int(variables_.size()) - 1;
}

void ExprEvaluator::SetVariable(int slot, double value) {
  if (slot >= 0 && size_t(slot) < variables_.size()) variables_[slot].value = value;
}

int ExprEvaluator::FindVariable(std::string_view name) const {
  for (size_t v = 0; v < variables_.size(); ++v)
    if (SameName(variables_[v].name, name)) return int(v);
  return -1;
}

void ExprEvaluator::Compile(std::string& text, ExprCode& code, bool allowNewVariables) {
  text.erase(std::remove_if(text.begin(), text.end(), IsBlank), text.end());
  error_ = kExprNoErrors;
  ExprCompiler(*this, text, code, allowNewVariables).Run();
}

bool ExprEvaluator::Push(double value) {
  if (depth_ == kExprStackDepth) {
    error_ = kExprStackFull;
    return false;
  }
  stack_[depth_++] = value;
  return true;
}

double ExprEvaluator::Evaluate(const ExprCode& code) {
  error_ = kExprNoErrors;
  depth_ = 0;
  size_t pc = 0;
  while (code[pc] != 0) {
    const uint8_t op = code[pc++];
    std::feclearexcept(kTrappedExceptions);
    switch (op) {
      case kPushVariable:
        if (!Push(variables_[code[pc++]].value)) return 0;
        break;
      case kPushConstant: {
        double value;
        std::memcpy(&value, &code[pc], sizeof value);
        pc += sizeof value;
        if (!Push(value)) return 0;
        break;
      }
      case kCallFunction: {
        const int index = code[pc++];
        const double last = stack_[--depth_];
        if (kFunctions[index].arguments == 2)
          stack_[depth_ - 1] = CallFunction(index, stack_[depth_ - 1], last);
        else
          stack_[depth_++] = CallFunction(index, last, 0);
        break;
      }
      case '=':
        variables_[code[pc + 1]].value = stack_[depth_ - 1];
        pc += 2;
        break;
      case '~':
        stack_[depth_ - 1] = -stack_[depth_ - 1];
        break;
      case '!':
        stack_[depth_ - 1] = stack_[depth_ - 1] == 0;
        break;
      case '?':
        depth_ -= 2;
        stack_[depth_ - 1] = stack_[depth_ - 1] != 0 ? stack_[depth_] : stack_[depth_ + 1];
        break;
      default: {
        const double b = stack_[--depth_];
        if ((op == '/' && b == 0) || (op == '%' && std::floor(b) == 0)) {
          error_ = kExprDivisionByZero;
          return 0;
        }
        stack_[depth_ - 1] = BinaryOperation(op, stack_[depth_ - 1], b);
      }
    }
    if (std::fetestexcept(kTrappedExceptions)) error_ = kExprExecutionError;
  }
  return depth_ == 1 ? stack_[0] : 0;
}

const char* ExprEvaluator::ErrorText(int code) {
  static const char* const kTexts[] = {
      "Unbalanced Parenthesis", "Comma expected", "Parenthesis expected", "Too many variables in expression",
      "Execution Error", "Syntax Error", "Undefined Function", "Undefined Variable", "Division by Zero",
      "Overflow", "Expression too Long", "Expression too Complex", "Too Many Variables",
      "Expression too Complex", "Too Long Identifier", "No Errors",
  };
  return code >= 0 && code < int(std::size(kTexts)) ? kTexts[code] : "Unknown Error";
}

bool CompileFunctionOfX(ExprEvaluator& evaluator, std::string& text, ExprCode& code) {
  if (!evaluator.Initialize(5) || evaluator.AddVariable("x", 0) != kFunctionX) return false;
  evaluator.Compile(text, code, false);
  return true;
}

}  // namespace quilla
