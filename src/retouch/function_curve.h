// A transfer curve computed from a user's y = f(x), as Interactive RGB does when a channel
// uses a function: entry i is trunc(255 * f(i / 255)) held to 0..255.
#pragma once
#include <string>

#include "retouch/colour_tables.h"

namespace quilla {

enum class CurveOutcome {
  Computed,
  NotCompiled,  // the curve is left as it was
  NotEvaluated, // an evaluation failed: the curve is the identity
  NoMemory,     // the curve is left as it was
};

struct CurveResult {
  CurveOutcome outcome = CurveOutcome::Computed;
  int error = 0;  // the evaluator's error code, for its message
};

CurveResult ComputeFunctionCurve(std::string text, TransferTable& curve);

}  // namespace quilla
