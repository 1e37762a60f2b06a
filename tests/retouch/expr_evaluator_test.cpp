#include "retouch/expr_evaluator.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/list_defaults.h"

namespace quilla {
namespace {

struct Outcome {
  int error;
  double value;
};

// Compiles as the function dialog does and, when that works, evaluates at x.
Outcome CompileAndEvaluate(std::string text, double x) {
  ExprEvaluator evaluator;
  ExprCode code{};
  EXPECT_TRUE(CompileFunctionOfX(evaluator, text, code));
  if (IsCompileError(evaluator.ErrorCode())) return {evaluator.ErrorCode(), 0};
  evaluator.SetVariable(kFunctionX, x);
  const double value = evaluator.Evaluate(code);
  return {evaluator.ErrorCode(), value};
}

// 1+(1+(...(1)...)) with n ones: all n are on the stack before the first addition.
std::string NestedOnes(int n) {
  std::string text = "1";
  for (int i = 1; i < n; ++i) text = "1+(" + text + ")";
  return text;
}

std::string Repeated(const std::string& part, int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += part;
  return text;
}

TEST(ExprEvaluatorTest, ValuesAndErrors) {
  const struct {
    std::string text;
    double x;
    int error;
    double value;
  } kCases[] = {
      {"x^2", 0.5, kExprNoErrors, 0.25},
      {"2^3^2", 0, kExprNoErrors, 512},
      {"-2^2", 0, kExprNoErrors, 4},
      {"2^-1", 0, kExprNoErrors, 0.5},
      {"log(9*x+1,10)", 1, kExprNoErrors, 1},
      {"LOG(8,2)", 0, kExprNoErrors, 3},
      {"PI", 0, kExprNoErrors, 3.1415926535},
      {"E*X", 1, kExprNoErrors, 2.7182818284},
      {"x<=0.5?1:0", 0.5, kExprNoErrors, 1},
      {"x>=0.5?1:0", 0.5, kExprNoErrors, 1},
      {"1?2:0?3:4", 0, kExprNoErrors, 3},  // (1?2:0)?3:4
      {"8/4/2-1-1", 0, kExprNoErrors, -1},
      {"1+2*3<7.5==1", 0, kExprNoErrors, 1},
      {"!0||1&&0", 0, kExprNoErrors, 0},  // one level, left to right
      {"2!=2|abs(-3)>2.9e0", 0, kExprNoErrors, 1},
      {"x=x+1.5e-1", 0.1, kExprNoErrors, 0.25},
      {"7.5%2", 0, kExprNoErrors, 1},
      {"-7%2", 0, kExprNoErrors, -1},
      {" sin ( x ) ", 0, kExprNoErrors, 0},
      {"1/x", 0, kExprDivisionByZero, 0},
      {"x>0?1/x:0", 0, kExprDivisionByZero, 0},  // both branches run
      {"5%0.5", 0, kExprDivisionByZero, 0},
      {"exp(1000)", 0, kExprExecutionError, 0},
      {"10^400", 0, kExprExecutionError, 0},
      {"ln(x)", 0, kExprExecutionError, 0},
      {"cotg(x)", 0, kExprExecutionError, 0},
      {"1e400*0", 0, kExprExecutionError, 0},
      {"3e9%2", 0, kExprExecutionError, 0},
      {"x2", 0, kExprSyntaxError, 0},
      {".5*x", 0, kExprSyntaxError, 0},
      {"", 0, kExprSyntaxError, 0},
      {"1?2", 0, kExprSyntaxError, 0},
      {"x$1", 0, kExprSyntaxError, 0},
      {"sin x", 0, kExprUndefinedVariable, 0},
      {"y", 0, kExprUndefinedVariable, 0},
      {"sin(x", 0, kExprParenthesisExpected, 0},
      {"sin1", 0, kExprUnbalancedParenthesis, 0},
      {"(x", 0, kExprUnbalancedParenthesis, 0},
      {"log(x)", 0, kExprCommaExpected, 0},
      {Repeated("a", 32), 0, kExprTooLongIdentifier, 0},
      {Repeated("a", 31), 0, kExprUndefinedVariable, 0},
      {NestedOnes(21), 0, kExprStackFull, 0},
      {NestedOnes(20), 0, kExprNoErrors, 20},
      {"1" + Repeated("+1", 126), 0, kExprTooLong, 0},  // 127 constants of 9 bytes
      {Repeated("(", 300) + "x" + Repeated(")", 300), 0, kExprTooLong, 0},
  };
  for (const auto& c : kCases) {
    const Outcome got = CompileAndEvaluate(c.text, c.x);
    EXPECT_STREQ(ExprEvaluator::ErrorText(got.error), ExprEvaluator::ErrorText(c.error)) << c.text;
    if (c.error == kExprNoErrors) {
      EXPECT_DOUBLE_EQ(got.value, c.value) << c.text;
    }
  }
}

TEST(ExprEvaluatorTest, MessagesAndCompileStripsBlanks) {
  EXPECT_STREQ(ExprEvaluator::ErrorText(kExprStackFull), "Expression too Complex");
  EXPECT_STREQ(ExprEvaluator::ErrorText(16), "Unknown Error");
  EXPECT_STREQ(ExprEvaluator::ErrorText(-1), "Unknown Error");
  ExprEvaluator evaluator;
  ExprCode code{};
  std::string text = " x ^\t2\n";
  ASSERT_TRUE(CompileFunctionOfX(evaluator, text, code));
  EXPECT_EQ(text, "x^2");
}

TEST(ExprEvaluatorTest, NewVariablesFillTheTable) {
  ExprEvaluator evaluator;
  ExprCode code{};
  ASSERT_TRUE(evaluator.Initialize(2));
  ASSERT_EQ(evaluator.AddVariable("X  ", 3), 0);
  std::string text = "Y=2*x";
  evaluator.Compile(text, code, true);
  ASSERT_EQ(evaluator.ErrorCode(), kExprNoErrors);
  EXPECT_EQ(evaluator.Evaluate(code), 6);
  text = "y+x";
  evaluator.Compile(text, code, false);
  EXPECT_EQ(evaluator.Evaluate(code), 9);  // y kept the value assigned
  text = "z";
  evaluator.Compile(text, code, true);
  EXPECT_EQ(evaluator.ErrorCode(), kExprTooManyVariables);
}

TEST(ExprEvaluatorTest, DefaultFunctionsMakeCurves) {
  const double kAtZeroHalfOne[10][3] = {
      {0, 0.25, 1},
      {0, 0.35355339059327373, 1},
      {0, 0.70710678118654757, 1},
      {0, 0.62996052494743658, 1},
      {0, 0.5, 0.9},
      {0.15, 0.5, 0.85},
      {-3.0 / 14, 0.5, 1 / 0.7 - 3.0 / 14},
      {0, 0.74036268949424389, 1},
      {0, 0.68260619448598536, 1},
      {0, 0.5, 1},
  };
  const UserFunctionList functions = DefaultFunctions();
  for (int slot = 0; slot < 10; ++slot) {
    std::string text = functions.slots[slot].text;
    ExprEvaluator evaluator;
    ExprCode code{};
    ASSERT_TRUE(CompileFunctionOfX(evaluator, text, code));
    ASSERT_EQ(evaluator.ErrorCode(), kExprNoErrors) << text;
    for (int i = 0; i < 256; ++i) {
      evaluator.SetVariable(kFunctionX, i / 255.0);
      const double value = evaluator.Evaluate(code);
      ASSERT_EQ(evaluator.ErrorCode(), kExprNoErrors) << text << " at " << i;
      if (i % 255 == 0) {
        EXPECT_NEAR(value, kAtZeroHalfOne[slot][i == 0 ? 0 : 2], 1e-9) << text << " at " << i;
      }
    }
    evaluator.SetVariable(kFunctionX, 0.5);
    EXPECT_NEAR(evaluator.Evaluate(code), kAtZeroHalfOne[slot][1], 1e-9) << text;
  }
}

}  // namespace
}  // namespace quilla
