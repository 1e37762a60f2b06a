// The user-editable lists kept in the settings file: transfer functions, 5 x 5 image
// filters and macro retouches. Plain data; the evaluator, the filters and the macro
// runner work on them.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace quilla {

inline constexpr int kFunctionSlots = 20;
inline constexpr size_t kMaxFunctionText = 254;

struct UserFunction {
  std::string text;  // a formula y = f(x), at most kMaxFunctionText bytes
};

struct UserFunctionList {
  std::array<UserFunction, kFunctionSlots> slots;
  int count = kFunctionSlots;              // defined functions, packed to the front
  std::array<int, 3> selected{0, 0, 0};   // function of the red, green and blue channel
  std::array<int, 3> use{1, 1, 1};        // whether each channel uses its function
};

inline constexpr int kFilterSlots = 20;
inline constexpr size_t kMaxFilterName = 14;

struct FilterSpec {
  std::string name;  // at most kMaxFilterName bytes
  int color = 1;     // kept and written back; filtering ignores it
  int red = 1, green = 1, blue = 1;
  int divisor = 1;   // 1..999
  int bias = 0;      // -255..255
  std::array<int, 25> kernel{};  // row-major 5 x 5, each -255..255

  static FilterSpec Identity() {
    FilterSpec spec;
    spec.kernel[12] = 1;
    return spec;
  }
};

enum class RetouchOp : uint8_t {
  NoOperation = 0,
  GammaCorrection = 1,
  ColorBalance = 2,
  ContrastEnhance = 3,
  HsvEnhance = 4,
  YcbcrEnhance = 5,
  ExpEnhance = 6,
  LogEnhance = 7,
  SineHEnhance = 8,
  ImageFilter = 9,
};
inline constexpr int kRetouchOpCount = 10;

struct RetouchOpInfo {
  const char* name;  // list text
  int parameterCount;
  std::array<int, 3> minimum, maximum;
};
// Indexed by code 0..9.
const RetouchOpInfo& RetouchOpInfoOf(int code);

inline constexpr int kMacroCount = 17;
inline constexpr int kMacroSlots = 8;
inline constexpr size_t kMaxMacroName = 25;

struct MacroStep {
  uint8_t code = 0;  // a RetouchOp
  std::array<int32_t, 3> parameters{0, 0, 0};  // those beyond the operation's count are unused
};

struct MacroRetouch {
  std::string name;  // at most kMaxMacroName bytes
  std::array<MacroStep, kMacroSlots> steps;
};

struct MacroTable {
  std::array<MacroRetouch, kMacroCount> macros;
  int current = 0;
};

}  // namespace quilla
