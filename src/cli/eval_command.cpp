// quilla-cli eval EXPRESSION [X]...: compiles a y = f(x) as the function dialog does and
// prints its value, or the evaluator's message, at each X.
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "core/messages.h"
#include "retouch/expr_evaluator.h"

namespace quilla::cli {
namespace {

int EvalUsage() {
  std::fprintf(stderr, "usage: quilla-cli eval EXPRESSION [X]...\n");
  return kUsage;
}

bool ParseNumber(const char* text, double& value) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end != text && *end == '\0';
}

}  // namespace

int RunEvalCommand(int argc, char** argv) {
  if (argc < 2) return EvalUsage();
  static const char* kDefaultXs[] = {"0", "0.5", "1"};
  const std::vector<const char*> xs = argc > 2 ? std::vector<const char*>(argv + 2, argv + argc)
                                               : std::vector<const char*>(std::begin(kDefaultXs), std::end(kDefaultXs));
  std::vector<double> values(xs.size());
  for (size_t i = 0; i < xs.size(); ++i)
    if (!ParseNumber(xs[i], values[i])) return EvalUsage();

  ExprEvaluator evaluator;
  ExprCode code{};
  std::string text = argv[1];
  if (!CompileFunctionOfX(evaluator, text, code)) {
    ShowNoMemory();
    return kFailed;
  }
  if (IsCompileError(evaluator.ErrorCode())) {
    std::fprintf(stderr, "%s\n", ExprEvaluator::ErrorText(evaluator.ErrorCode()));
    return kFailed;
  }
  for (size_t i = 0; i < xs.size(); ++i) {
    evaluator.SetVariable(kFunctionX, values[i]);
    const double y = evaluator.Evaluate(code);
    if (evaluator.ErrorCode() == kExprNoErrors)
      std::printf("%s: %.17g\n", xs[i], y);
    else
      std::printf("%s: %s\n", xs[i], ExprEvaluator::ErrorText(evaluator.ErrorCode()));
  }
  return kOk;
}

}  // namespace quilla::cli
