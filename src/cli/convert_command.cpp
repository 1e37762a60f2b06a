// quilla-cli convert: reads INPUT as the open flow does, applies the operations in the
// order given and writes OUTPUT. A failed conversion leaves OUTPUT as it was.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_settings.h"
#include "color/color_reduction.h"
#include "color/color_quantizer.h"
#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "retouch/colour_retouch.h"
#include "retouch/expr_evaluator.h"
#include "retouch/filter_command.h"
#include "retouch/function_curve.h"
#include "retouch/geometry.h"
#include "retouch/macro_retouch.h"
#include "retouch/resize.h"
#include "settings/app_options.h"
#include "settings/settings_store.h"

namespace quilla::cli {

namespace {

constexpr const char kConvertUsage[] =
    "convert [--ini FILE] [--set KEY=VALUE]... [--type N] [OPERATION]... INPUT OUTPUT";

int UsageError(const char* format, const char* argument) {
  std::fprintf(stderr, "quilla-cli convert: ");
  std::fprintf(stderr, format, argument);
  std::fprintf(stderr, "\nusage: quilla-cli %s\n", kConvertUsage);
  return kUsage;
}

bool ParseInt(const char* text, long min, long max, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return *text && *end == '\0' && value >= min && value <= max;
}

struct Operation {
  enum Kind {
    Resize, Colors, Windows16, TrueColor, Filter, Retouch, GrayScale, Negative, Functions,
    Redimension, Crop, FlipH, FlipV, Rotate, Macro
  } kind;
  int width = 0, height = 0;        // Resize, Redimension, Crop
  int colors = 0;                   // Colors
  int slot = 0;                     // Filter, Macro
  RetouchOp code{};                 // Retouch
  std::array<int, 3> parameters{};  // Retouch; the function slots of red, green, blue
  int x = 0, y = 0;                 // Crop
  int quarters = 0;                 // Rotate: quarter turns to the right
};

bool ParseSize(const char* text, Operation& op) {
  const char* x = std::strchr(text, 'x');
  if (!x) return false;
  long w = 0, h = 0;
  std::string width(text, x);
  if (!ParseInt(width.c_str(), 1, kMaxImageSide, w) || !ParseInt(x + 1, 1, kMaxImageSide, h)) return false;
  op.width = int(w), op.height = int(h);
  return true;
}

// X,Y,W,H: a corner from the top-left and a size; whether it lies inside the image is only
// known once the image is read.
bool ParseRectangle(const std::string& text, Operation& op) {
  long values[4] = {};
  size_t start = 0;
  for (size_t i = 0; i < 4; ++i) {
    size_t comma = text.find(',', start);
    if ((i < 3) == (comma == std::string::npos)) return false;
    if (!ParseInt(text.substr(start, comma - start).c_str(), i < 2 ? 0 : 1, kMaxImageSide, values[i])) return false;
    start = comma + 1;
  }
  op.x = int(values[0]), op.y = int(values[1]), op.width = int(values[2]), op.height = int(values[3]);
  return true;
}

bool CropFits(const DIBImage& document, const Operation& op) {
  return op.x + op.width <= document.Width() && op.y + op.height <= document.Height();
}

int RotateRightTimes(DIBImage& document, int quarters) {
  int ok = 1;
  for (int i = 0; ok && i < quarters; ++i) ok = RotateRight(document);
  return ok;
}

// CODE:P1,P2,P3 with a code of the macro table (1..9) and parameters in their ranges;
// those beyond the operation's count may be left out.
bool ParseRetouch(const std::string& text, Operation& op) {
  size_t colon = text.find(':');
  long code = 0;
  if (!ParseInt(text.substr(0, colon).c_str(), 1, kRetouchOpCount - 1, code)) return false;
  const RetouchOpInfo& info = RetouchOpInfoOf(int(code));
  op.code = RetouchOp(code);
  size_t given = 0;
  for (size_t start = colon; start != std::string::npos; ++given) {
    size_t comma = text.find(',', start + 1);
    long value = 0;
    if (given == 3 ||
        !ParseInt(text.substr(start + 1, comma - start - 1).c_str(), info.minimum[given], info.maximum[given], value))
      return false;
    op.parameters[given] = int(value);
    start = comma;
  }
  return int(given) >= info.parameterCount;
}

// R,G,B: three function slots 0..19.
bool ParseFunctionSlots(const std::string& text, Operation& op) {
  size_t start = 0;
  for (size_t channel = 0; channel < 3; ++channel) {
    size_t comma = text.find(',', start);
    if ((channel < 2) == (comma == std::string::npos)) return false;
    long slot = 0;
    if (!ParseInt(text.substr(start, comma - start).c_str(), 0, kFunctionSlots - 1, slot)) return false;
    op.parameters[channel] = int(slot);
    start = comma + 1;
  }
  return true;
}

// Interactive RGB's Exec with each channel's curve computed from its function. A function
// that does not compile or evaluate shows the evaluator's message and fails the command.
int ApplyFunctions(DIBImage& document, const Operation& op) {
  UserFunctionList functions = Options().Functions();
  functions.selected = op.parameters;
  functions.use = {1, 1, 1};
  TransferTables curves{};
  const CurveResult result = ComputeChannelCurves(functions, curves);
  if (result.outcome == CurveOutcome::NoMemory) return 0;
  if (result.outcome != CurveOutcome::Computed) {
    ShowWarning("%s", ExprEvaluator::ErrorText(result.error));
    return -1;
  }
  return ApplyTransferCurves(document, curves);
}

int Apply(DIBImage& document, const Operation& op) {
  bool dither = Options().UseDithering() != 0;
  int ok = 0;
  switch (op.kind) {
    case Operation::Resize: ok = ResizeImage(document, op.width, op.height); break;
    case Operation::Colors: ok = ChangeColorDepth(document, op.colors, dither, op.colors == 16); break;
    case Operation::Windows16: ok = ChangeColorDepth(document, 16, dither, true); break;
    case Operation::TrueColor: ok = ChangeColorDepth(document, 0, false, false); break;
    case Operation::Filter:
      ok = FilterImage(document, Options().Filters()[size_t(op.slot)], Options().GetDisplayMode());
      break;
    case Operation::Retouch: ok = ApplyColourRetouch(document, op.code, op.parameters); break;
    case Operation::GrayScale: ok = GrayScaleImage(document); break;
    case Operation::Negative: ok = NegativeImage(document); break;
    case Operation::Functions: ok = ApplyFunctions(document, op); break;
    case Operation::Redimension: ok = RedimensionImage(document, op.width, op.height); break;
    case Operation::Crop: ok = CropImage(document, op.x, op.y, op.width, op.height); break;
    case Operation::FlipH: FlipHorizontal(document), ok = 1; break;
    case Operation::FlipV: FlipVertical(document), ok = 1; break;
    case Operation::Rotate: ok = op.quarters == 3 ? RotateLeft(document) : RotateRightTimes(document, op.quarters); break;
    case Operation::Macro:
      ok = RunMacro(document, Options().Macros().macros[size_t(op.slot)], Options().Filters());
      break;
  }
  if (ok == 0) ShowNoMemory();
  document.DiscardUndo();
  return ok > 0;
}

}  // namespace

int RunConvertCommand(int argc, char** argv) {
  SetDefaultSettings(true);
  std::vector<Operation> operations;
  std::vector<const char*> files;
  long type = 0;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    bool hasValue = i + 1 < argc;
    long n = 0;
    if (std::strcmp(arg, "--ini") == 0) {
      if (!hasValue) return UsageError("%s needs a settings file", arg);
      const char* path = argv[++i];
      if (LoadSettingsOrDefaults(path) == SettingsSource::Foreign)
        std::fprintf(stderr, "quilla-cli convert: '%s' is not a settings file of this program; using the defaults\n",
                     path);
    } else if (std::strcmp(arg, "--set") == 0) {
      if (!hasValue) return UsageError("%s needs KEY=VALUE", arg);
      std::string setting = argv[++i];
      size_t eq = setting.find('=');
      if (eq == std::string::npos || !SetOptionByKey(setting.substr(0, eq), setting.substr(eq + 1)))
        return UsageError("cannot set '%s' (a settings key of section Options is expected)", setting.c_str());
    } else if (std::strcmp(arg, "--type") == 0) {
      if (!hasValue || !ParseInt(argv[++i], 1, kLastFileType, type))
        return UsageError("%s needs a file type from 1 to 10", "--type");
    } else if (std::strcmp(arg, "--resize") == 0) {
      Operation op{Operation::Resize};
      if (!hasValue || !ParseSize(argv[++i], op)) return UsageError("%s needs WxH", arg);
      operations.push_back(op);
    } else if (std::strcmp(arg, "--redimension") == 0) {
      Operation op{Operation::Redimension};
      if (!hasValue || !ParseSize(argv[++i], op)) return UsageError("%s needs WxH", arg);
      operations.push_back(op);
    } else if (std::strcmp(arg, "--crop") == 0) {
      Operation op{Operation::Crop};
      if (!hasValue || !ParseRectangle(argv[++i], op)) return UsageError("%s needs X,Y,W,H", arg);
      operations.push_back(op);
    } else if (std::strcmp(arg, "--flip-h") == 0) {
      operations.push_back({Operation::FlipH});
    } else if (std::strcmp(arg, "--flip-v") == 0) {
      operations.push_back({Operation::FlipV});
    } else if (std::strcmp(arg, "--rotate") == 0) {
      if (!hasValue || !ParseInt(argv[++i], 90, 270, n) || n % 90) return UsageError("%s needs 90, 180 or 270", arg);
      Operation op{Operation::Rotate};
      op.quarters = int(n / 90);
      operations.push_back(op);
    } else if (std::strcmp(arg, "--colors") == 0) {
      if (!hasValue || !ParseInt(argv[++i], 2, 256, n)) return UsageError("%s needs a colour count from 2 to 256", arg);
      operations.push_back({Operation::Colors, 0, 0, int(n)});
    } else if (std::strcmp(arg, "--filter") == 0) {
      if (!hasValue || !ParseInt(argv[++i], 0, kFilterSlots - 1, n)) return UsageError("%s needs a filter slot from 0 to 19", arg);
      Operation op{Operation::Filter};
      op.slot = int(n);
      operations.push_back(op);
    } else if (std::strcmp(arg, "--macro") == 0) {
      if (!hasValue || !ParseInt(argv[++i], 0, kMacroCount - 1, n)) return UsageError("%s needs a macro from 0 to 16", arg);
      Operation op{Operation::Macro};
      op.slot = int(n);
      operations.push_back(op);
    } else if (std::strcmp(arg, "--win16") == 0) {
      operations.push_back({Operation::Windows16});
    } else if (std::strcmp(arg, "--truecolor") == 0) {
      operations.push_back({Operation::TrueColor});
    } else if (std::strcmp(arg, "--retouch") == 0) {
      Operation op{Operation::Retouch};
      if (!hasValue || !ParseRetouch(argv[++i], op))
        return UsageError("%s needs CODE:P1,P2,P3, an operation 1..9 with parameters in its ranges", arg);
      // Code 9 is the image filter of slot P1.
      if (op.code == RetouchOp::ImageFilter) op = {Operation::Filter, 0, 0, 0, op.parameters[0]};
      operations.push_back(op);
    } else if (std::strcmp(arg, "--functions") == 0) {
      Operation op{Operation::Functions};
      if (!hasValue || !ParseFunctionSlots(argv[++i], op)) return UsageError("%s needs R,G,B, three function slots 0..19", arg);
      operations.push_back(op);
    } else if (std::strcmp(arg, "--grayscale") == 0) {
      operations.push_back({Operation::GrayScale});
    } else if (std::strcmp(arg, "--negative") == 0) {
      operations.push_back({Operation::Negative});
    } else if (arg[0] == '-' && arg[1] == '-') {
      return UsageError("unknown option %s", arg);
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) return UsageError("%s", "expects INPUT and OUTPUT");
  DIBImage document;
  document.SetUndoEnabled(false);  // nothing is undone here, so no operation keeps a copy
  SetMainDocument(&document);
  int ok = ReadImageFile(document, files[0]);
  for (size_t i = 0; ok && i < operations.size(); ++i) {
    if (operations[i].kind == Operation::Crop && !CropFits(document, operations[i])) {
      SetMainDocument(nullptr);
      return UsageError("%s: the crop rectangle lies outside the image", files[0]);
    }
    ok = Apply(document, operations[i]);
  }
  if (ok) {
    document.fileType =
        type ? uint32_t(type) : FileTypeOfSaveIndex(SaveTypeFromName(files[1], Options().SaveType()));
    ok = WriteImageFile(document, files[1]);
  }
  SetMainDocument(nullptr);
  return ok ? kOk : kFailed;
}

}  // namespace quilla::cli
