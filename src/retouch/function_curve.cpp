#include "retouch/function_curve.h"

#include "retouch/expr_evaluator.h"
#include "retouch/transfer_curves.h"

namespace quilla {

namespace {

// 255 * y truncated and held to 0..255; a value that is not a number counts as 0.
int32_t CurveEntry(double y) {
  double scaled = 255 * y;
  if (!(scaled > 0)) return 0;
  return scaled >= 255 ? 255 : int32_t(scaled);
}

}  // namespace

CurveResult ComputeFunctionCurve(std::string& text, TransferTable& curve) {
  ExprEvaluator evaluator;
  ExprCode code{};
  if (!CompileFunctionOfX(evaluator, text, code)) return {CurveOutcome::NoMemory, 0};
  if (IsCompileError(evaluator.ErrorCode())) return {CurveOutcome::NotCompiled, evaluator.ErrorCode()};
  TransferTable computed{};
  for (int i = 0; i < 256; ++i) {
    evaluator.SetVariable(kFunctionX, i / 255.0);
    double y = evaluator.Evaluate(code);
    if (evaluator.ErrorCode() != kExprNoErrors) {
      curve = IdentityCurve();
      return {CurveOutcome::NotEvaluated, evaluator.ErrorCode()};
    }
    computed[size_t(i)] = CurveEntry(y);
  }
  curve = computed;
  return {};
}

CurveResult ComputeChannelCurves(const UserFunctionList& functions, TransferTables& curves) {
  CurveResult first;
  for (int channel = 0; channel < 3; ++channel) {
    if (!functions.use[size_t(channel)]) continue;
    std::string text = functions.slots[size_t(functions.selected[size_t(channel)])].text;
    const CurveResult result = ComputeFunctionCurve(text, ChannelCurve(curves, channel));
    if (first.outcome == CurveOutcome::Computed) first = result;
  }
  return first;
}

}  // namespace quilla
