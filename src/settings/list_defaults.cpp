#include "settings/list_defaults.h"

namespace quilla {
namespace {

struct NamedFilter {
  const char* name;
  int divisor, bias;
  std::array<int, 25> kernel;
};

// clang-format off
const NamedFilter kNamedFilters[kNamedFilterCount] = {
    {"Smooth", 13, 0, {0, 0, 0, 0, 0,  0, 1, 1, 1, 0,  0, 1, 5, 1, 0,  0, 1, 1, 1, 0,  0, 0, 0, 0, 0}},
    {"Smooth +", 100, 0, {1, 1, 1, 1, 1,  1, 5, 5, 5, 1,  1, 5, 44, 5, 1,  1, 5, 5, 5, 1,  1, 1, 1, 1, 1}},
    {"Blur", 16, 0, {1, 1, 1, 1, 1,  1, 0, 0, 0, 1,  1, 0, 0, 0, 1,  1, 0, 0, 0, 1,  1, 1, 1, 1, 1}},
    {"Sharpen", 16, 0, {0, 0, 0, 0, 0,  0, -2, -2, -2, 0,  0, -2, 32, -2, 0,  0, -2, -2, -2, 0,  0, 0, 0, 0, 0}},
    {"Detail", 6, 0, {0, 0, 0, 0, 0,  0, 0, -1, 0, 0,  0, -1, 10, -1, 0,  0, 0, -1, 0, 0,  0, 0, 0, 0, 0}},
    {"Edge enhance", 2, 0, {0, 0, 0, 0, 0,  0, -1, -1, -1, 0,  0, -1, 10, -1, 0,  0, -1, -1, -1, 0,  0, 0, 0, 0, 0}},
    {"Edge enhance +", 1, 0, {0, 0, 0, 0, 0,  0, -1, -1, -1, 0,  0, -1, 9, -1, 0,  0, -1, -1, -1, 0,  0, 0, 0, 0, 0}},
    {"Find edges", 1, 0, {0, 0, 0, 0, 0,  0, -1, -1, -1, 0,  0, -1, 8, -1, 0,  0, -1, -1, -1, 0,  0, 0, 0, 0, 0}},
    {"Contour", 1, 255, {0, 0, 0, 0, 0,  0, -1, -1, -1, 0,  0, -1, 8, -1, 0,  0, -1, -1, -1, 0,  0, 0, 0, 0, 0}},
};
// clang-format on

const char* const kDefaultFunctionTexts[10] = {
    "x^2", "x^1.5", "x^(1/2)", "x^(2/3)", "x<0.8?x:0.8+(x-0.8)/2", "x*0.7+0.15", "x/0.7-3/14",
    "log(9*x+1,10)", "log(4*x+1,5)", "x<=0.5?sin(x*pi)/2:(sin(x*pi+pi)+1)/2+0.5",
};

MacroStep Step(RetouchOp op, int32_t first, int32_t second = 0, int32_t third = 0) {
  return MacroStep{static_cast<uint8_t>(op), {first, second, third}};
}

}  // namespace

UserFunctionList DefaultFunctions() {
  UserFunctionList list;
  for (int slot = 0; slot < kFunctionSlots; ++slot) list.slots[slot].text = slot < 10 ? kDefaultFunctionTexts[slot] : "x";
  return list;
}

FilterSpec DefaultNamedFilter(int slot) {
  const NamedFilter& named = kNamedFilters[slot];
  FilterSpec spec;
  spec.name = named.name;
  spec.divisor = named.divisor;
  spec.bias = named.bias;
  spec.kernel = named.kernel;
  return spec;
}

std::array<FilterSpec, kFilterSlots> DefaultFilters() {
  std::array<FilterSpec, kFilterSlots> filters;
  for (int slot = 0; slot < kFilterSlots; ++slot) {
    if (slot < kNamedFilterCount) {
      filters[slot] = DefaultNamedFilter(slot);
    } else {
      filters[slot] = FilterSpec::Identity();
      filters[slot].name = "Identity";
    }
  }
  return filters;
}

MacroTable DefaultMacros() {
  MacroTable table;
  for (MacroRetouch& macro : table.macros) macro.name = "Not defined";
  auto define = [&table](int n, const char* name, MacroStep first, MacroStep second) {
    table.macros[n].name = name;
    table.macros[n].steps[0] = first;
    table.macros[n].steps[1] = second;
  };
  define(0, "very dark+low contrast", Step(RetouchOp::SineHEnhance, 60), Step(RetouchOp::LogEnhance, 10));
  define(1, "very dark+high contrast", Step(RetouchOp::LogEnhance, 100), Step(RetouchOp::ExpEnhance, 1));
  define(2, "dark+low contrast", Step(RetouchOp::SineHEnhance, 30), Step(RetouchOp::LogEnhance, 5));
  define(3, "dark+high contrast", Step(RetouchOp::LogEnhance, 10), Step(RetouchOp::ExpEnhance, 1));
  define(4, "dark+yellowish", Step(RetouchOp::LogEnhance, 30), Step(RetouchOp::GammaCorrection, 16, 0, 8));
  return table;
}

}  // namespace quilla
