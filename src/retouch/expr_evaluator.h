// Formulas y = f(x) typed by the user, compiled once into a postfix byte code and evaluated
// for many values of x (the transfer curves take 256). Errors are reported through the
// evaluator's error code, never by ending the program.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

enum ExprError : int {
  kExprUnbalancedParenthesis = 0,
  kExprCommaExpected = 1,
  kExprParenthesisExpected = 2,
  kExprTooManyVariablesInExpression = 3,
  kExprExecutionError = 4,  // a floating-point exception while evaluating
  kExprSyntaxError = 5,
  kExprUndefinedFunction = 6,
  kExprUndefinedVariable = 7,
  kExprDivisionByZero = 8,
  kExprOverflow = 9,
  kExprTooLong = 10,  // the code does not fit kExprCodeCapacity
  kExprTooComplex = 11,
  kExprTooManyVariables = 12,
  kExprStackFull = 13,
  kExprTooLongIdentifier = 14,
  kExprNoErrors = 15,
};

// 1 KB holds any text that is not mostly numbers: each constant takes 9 bytes, so a text of
// the longest the function dialog accepts (254 characters) can still be refused as too long.
inline constexpr size_t kExprCodeCapacity = 1024;
// The compiled code: postfix operations ended by the byte 0.
using ExprCode = std::array<uint8_t, kExprCodeCapacity>;

inline constexpr int kExprStackDepth = 20;
inline constexpr size_t kMaxVariableName = 32;

class ExprEvaluator {
 public:
  // A table of maxVariables slots (at most 256: code names a slot in one byte), cleared,
  // and the error set to kExprNoErrors. False when memory runs out.
  bool Initialize(int maxVariables);
  void Shutdown();

  // The new variable's slot, or -1 with kExprTooManyVariables when the table is full. The
  // name keeps kMaxVariableName characters at most, without trailing blanks.
  int AddVariable(const std::string& name, double value);
  void SetVariable(int slot, double value);

  // Removes every white-space character from `text` (the caller's string changes) and
  // compiles it into `code`, valid only when ErrorCode() is then kExprNoErrors. A name
  // that is not known becomes a new variable only when allowNewVariables.
  void Compile(std::string& text, ExprCode& code, bool allowNewVariables);

  // Runs code compiled by this evaluator. Division by zero and a full stack stop it with
  // the result 0; after kExprExecutionError the result is not meaningful. Callers check
  // ErrorCode() before using the value. Allocates nothing.
  double Evaluate(const ExprCode& code);

  int ErrorCode() const { return error_; }
  // "Unknown Error" for a code outside 0..15.
  static const char* ErrorText(int code);

 private:
  struct Variable {
    std::string name;
    double value = 0;
  };
  friend class ExprCompiler;
  int FindVariable(std::string_view name) const;
  bool Push(double value);

  int error_ = kExprNoErrors;
  size_t maxVariables_ = 0;
  std::vector<Variable> variables_;
  // Kept in the object rather than on the C stack: the compiler must then read the operands
  // after the floating-point status is cleared and store each result before it is tested.
  std::array<double, kExprStackDepth> stack_{};
  int depth_ = 0;
};

// How the function dialog, the transfer curves and quilla-cli compile a user's y = f(x):
// Initialize(5), the variable "x" in slot kFunctionX, no new variables. False when memory
// runs out; otherwise the error code tells the outcome, and IsCompileError says whether
// there is a message to show instead of running the code.
inline constexpr int kFunctionX = 0;
bool CompileFunctionOfX(ExprEvaluator& evaluator, std::string& text, ExprCode& code);
inline bool IsCompileError(int code) { return code != kExprNoErrors && code != kExprExecutionError; }

}  // namespace quilla
