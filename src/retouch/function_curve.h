// A transfer curve computed from a user's y = f(x), as Interactive RGB does when a channel
// uses a function: entry i is trunc(255 * f(i / 255)) held to 0..255.
#pragma once
#include <string>

#include "retouch/colour_tables.h"
#include "settings/list_records.h"

namespace quilla {

enum class CurveOutcome {
  Computed,
  NotCompiled,   // the curve is left as it was
  NotEvaluated,  // an evaluation failed: the curve is the identity
  NoMemory,      // the curve is left as it was
};

struct CurveResult {
  CurveOutcome outcome = CurveOutcome::Computed;
  int error = 0;  // the evaluator's error code, for its message
};

// The text loses its white space, as compiling removes it: what is left is the text to keep.
CurveResult ComputeFunctionCurve(std::string& text, TransferTable& curve);

// The curve of each channel that uses its function, from the function the channel selects;
// the other curves are left as they are. Every channel is computed; the result is that of
// the first one that failed, Computed when none did.
CurveResult ComputeChannelCurves(const UserFunctionList& functions, TransferTables& curves);

}  // namespace quilla
