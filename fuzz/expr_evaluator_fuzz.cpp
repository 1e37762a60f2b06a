// Feeds arbitrary text, cut as the function dialog cuts it, to the expression compiler, once
// as the dialog compiles it and once allowing new variables, and evaluates what compiles at
// a few x. Evaluation ends only with the errors it can raise; the text loses its blanks.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "retouch/expr_evaluator.h"
#include "settings/list_records.h"

namespace {

void EvaluateAtSomeX(quilla::ExprEvaluator& evaluator, const quilla::ExprCode& code) {
  using namespace quilla;
  for (double x : {0.0, 0.5, 1.0, -1.0, 1e300}) {
    evaluator.SetVariable(kFunctionX, x);
    evaluator.Evaluate(code);
    const int error = evaluator.ErrorCode();
    if (error != kExprNoErrors && error != kExprExecutionError && error != kExprDivisionByZero &&
        error != kExprStackFull)
      std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quilla;
  // The dialog's edit box holds kMaxFunctionText characters of C text.
  const char* text = reinterpret_cast<const char*>(data);
  const std::string cut(text, std::find(text, text + std::min(size, kMaxFunctionText), '\0'));

  ExprEvaluator evaluator;
  ExprCode code{};
  std::string dialogText = cut;
  if (!CompileFunctionOfX(evaluator, dialogText, code)) std::abort();
  if (dialogText.find_first_of(" \t\n\v\f\r") != std::string::npos) std::abort();
  if (!IsCompileError(evaluator.ErrorCode())) EvaluateAtSomeX(evaluator, code);

  std::string newVariablesText = cut;
  if (!evaluator.Initialize(5) || evaluator.AddVariable("x", 0) != kFunctionX) std::abort();
  evaluator.Compile(newVariablesText, code, true);
  if (evaluator.ErrorCode() == kExprNoErrors) EvaluateAtSomeX(evaluator, code);
  return 0;
}
