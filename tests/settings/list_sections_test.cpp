#include "settings/list_sections.h"

#include <gtest/gtest.h>

#include <tuple>

#include "settings/list_defaults.h"

namespace quilla {
namespace {

auto Fields(const FilterSpec& f) {
  return std::tie(f.name, f.color, f.red, f.green, f.blue, f.divisor, f.bias, f.kernel);
}
auto Fields(const MacroStep& s) { return std::tie(s.code, s.parameters); }

TEST(ListSectionsTest, BuiltInListsMatchTheirTables) {
  UserFunctionList functions = DefaultFunctions();
  EXPECT_EQ(functions.count, 20);
  EXPECT_EQ(functions.slots[0].text, "x^2");
  EXPECT_EQ(functions.slots[9].text, "x<=0.5?sin(x*pi)/2:(sin(x*pi+pi)+1)/2+0.5");
  EXPECT_EQ(functions.slots[10].text, "x");
  EXPECT_EQ(functions.slots[19].text, "x");
  EXPECT_EQ(functions.use, (std::array<int, 3>{1, 1, 1}));

  auto filters = DefaultFilters();
  EXPECT_EQ(filters[1].name, "Smooth +");
  EXPECT_EQ(filters[1].divisor, 100);
  EXPECT_EQ(filters[1].kernel[12], 44);
  EXPECT_EQ(filters[8].name, "Contour");
  EXPECT_EQ(filters[8].bias, 255);
  EXPECT_EQ(filters[4].kernel, (std::array<int, 25>{0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, -1, 10, -1, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(filters[19].name, "Identity");
  for (const FilterSpec& f : filters) {
    EXPECT_EQ(f.color + f.red + f.green + f.blue, 4) << f.name;
  }

  MacroTable macros = DefaultMacros();
  EXPECT_EQ(macros.macros[4].name, "dark+yellowish");
  EXPECT_EQ(macros.macros[4].steps[0].code, static_cast<uint8_t>(RetouchOp::LogEnhance));
  EXPECT_EQ(macros.macros[4].steps[0].parameters[0], 30);
  EXPECT_EQ(macros.macros[4].steps[1].code, static_cast<uint8_t>(RetouchOp::GammaCorrection));
  EXPECT_EQ(macros.macros[4].steps[1].parameters, (std::array<int32_t, 3>{16, 0, 8}));
  EXPECT_EQ(macros.macros[0].steps[0].code, static_cast<uint8_t>(RetouchOp::SineHEnhance));
  EXPECT_EQ(macros.macros[16].name, "Not defined");
  EXPECT_EQ(macros.macros[16].steps[7].code, 0);
}

TEST(ListSectionsTest, RoundTripKeepsEveryList) {
  UserFunctionList functions = DefaultFunctions();
  functions.selected = {3, 19, 0};
  functions.use = {0, 1, 0};
  auto filters = DefaultFilters();
  filters[12].name = "Emboss";
  filters[12].kernel = {-1, 0, 0, 0, 0, 0, -2, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 1};
  filters[12].red = 0;
  filters[12].bias = -128;
  MacroTable macros = DefaultMacros();
  macros.current = 16;
  macros.macros[16].name = "mine";
  macros.macros[16].steps[7] = MacroStep{static_cast<uint8_t>(RetouchOp::HsvEnhance), {-359, 255, -255}};

  IniFile file;
  WriteFunctions(file, functions);
  WriteFilterSpecs(file, filters);
  WriteMacros(file, macros);
  IniFile reread = IniFile::Parse(file.Serialize());
  EXPECT_EQ(reread.GetInt("Options", "NFunctions", 0), 20);
  EXPECT_EQ(reread.GetString("Filters", "Filter12Spec", ""), "-1,0,0,0,0,0,-2,0,0,0,0,0,1,0,0,0,0,0,2,0,0,0,0,0,1");
  EXPECT_FALSE(reread.Find("One keystroke retouch", "KS0Oper2Param0")) << "no parameters for No operation";
  EXPECT_TRUE(reread.Find("One keystroke retouch", "KS4Oper1Param2"));
  EXPECT_FALSE(reread.Find("One keystroke retouch", "KS0Oper0Param1")) << "SineH takes one parameter";

  UserFunctionList functionsBack;
  auto filtersBack = DefaultFilters();
  MacroTable macrosBack;
  ReadFunctions(reread, functionsBack);
  ReadFilterSpecs(reread, filtersBack);
  ReadMacros(reread, macrosBack);
  for (int s = 0; s < kFunctionSlots; ++s) EXPECT_EQ(functionsBack.slots[s].text, functions.slots[s].text);
  EXPECT_EQ(functionsBack.selected, functions.selected);
  EXPECT_EQ(functionsBack.use, functions.use);
  for (int s = 0; s < kFilterSlots; ++s) EXPECT_EQ(Fields(filtersBack[s]), Fields(filters[s])) << s;
  EXPECT_EQ(macrosBack.current, 16);
  for (int n = 0; n < kMacroCount; ++n) {
    EXPECT_EQ(macrosBack.macros[n].name, macros.macros[n].name);
    for (int k = 0; k < kMacroSlots; ++k)
      EXPECT_EQ(Fields(macrosBack.macros[n].steps[k]), Fields(macros.macros[n].steps[k])) << n << "/" << k;
  }
}

TEST(ListSectionsTest, FunctionsArePackedAndFilledUp) {
  IniFile file = IniFile::Parse("[functions]\nfunction3=x*x\nFunction7=1-x\nFunction9=\nFunctionR=1\nFunctionG=2\n"
                                "FunctionB=-1\nUseFunctionG=0\n[Options]\nNFunctions=2\n");
  UserFunctionList functions = DefaultFunctions();
  ReadFunctions(file, functions);
  EXPECT_EQ(functions.count, 20);
  EXPECT_EQ(functions.slots[0].text, "x*x");
  EXPECT_EQ(functions.slots[1].text, "1-x");
  EXPECT_EQ(functions.slots[2].text, "x^(1/3)");
  EXPECT_EQ(functions.slots[19].text, "x^(1/20)");
  EXPECT_EQ(functions.selected, (std::array<int, 3>{1, 2, 0})) << "a negative index becomes 0";
  EXPECT_EQ(functions.use, (std::array<int, 3>{1, 0, 1}));

  ReadFunctions(IniFile::Parse("[Functions]\nFunctionR=0\n"), functions);
  EXPECT_EQ(functions.slots[0].text, "x") << "a section without texts starts with x";
  EXPECT_EQ(functions.slots[1].text, "x^(1/2)");

  IniFile longText = IniFile::Parse("[Functions]\nFunction0=" + std::string(400, 'x') + "\nFunctionR=20\n");
  ReadFunctions(longText, functions);
  EXPECT_EQ(functions.slots[0].text.size(), kMaxFunctionText);
  EXPECT_EQ(functions.selected[0], 0) << "20 is not below the count";
}

TEST(ListSectionsTest, FilterSlotsStartFromIdentityAndAreClamped) {
  IniFile file = IniFile::Parse(
      "[Filters]\nFilter0Name=A very long filter name\nFilter0Spec=1, 2,-3,x,5\nFilter0Div=0\nFilter0Bias=999\n"
      "Filter1Spec=300,-300,0,0,0,0,0,0,0,0,0,0,7,0,0,0,0,0,0,0,0,0,0,0,0,99\nFilter1R=0\n");
  auto filters = DefaultFilters();
  ReadFilterSpecs(file, filters);
  EXPECT_EQ(filters[0].name, "A very long fi");
  std::array<int, 25> kernel = FilterSpec::Identity().kernel;
  kernel[0] = 1, kernel[1] = 2, kernel[2] = -3;
  EXPECT_EQ(filters[0].kernel, kernel) << "fields after the first that fails keep the identity";
  EXPECT_EQ(filters[0].divisor, 1) << "a zero divisor would divide by zero";
  EXPECT_EQ(filters[0].bias, 255);
  EXPECT_EQ(filters[1].kernel[0], 255);
  EXPECT_EQ(filters[1].kernel[1], -255);
  EXPECT_EQ(filters[1].kernel[12], 7);
  EXPECT_EQ(filters[1].red, 0);
  EXPECT_EQ(filters[1].name, "");
  EXPECT_EQ(Fields(filters[5]), Fields(FilterSpec::Identity())) << "slots missing from the file are identity filters";
}

TEST(ListSectionsTest, AFileWithoutTheSectionLeavesTheListAsItIs) {
  IniFile file = IniFile::Parse("[Options]\nNFunctions=3\n");
  UserFunctionList functions = DefaultFunctions();
  auto filters = DefaultFilters();
  MacroTable macros = DefaultMacros();
  ReadFunctions(file, functions);
  ReadFilterSpecs(file, filters);
  ReadMacros(file, macros);
  EXPECT_EQ(functions.slots[0].text, "x^2");
  EXPECT_EQ(filters[0].name, "Smooth");
  EXPECT_EQ(macros.macros[0].name, "very dark+low contrast");
}

TEST(ListSectionsTest, MacroCodesAndParametersOutsideTheirRangesAreRefused) {
  MacroTable macros = DefaultMacros();
  IniFile file = IniFile::Parse(
      "[One keystroke retouch]\nKSCurrent=99\nKS0Name=" + std::string(40, 'n') +
      "\nKS0Oper0=12\nKS0Oper0Param0=5\nKS0Oper1=3\nKS0Oper1Param0=65\nKS2Oper0=4\nKS2Oper0Param0=-359\n"
      "KS2Oper0Param1=-359\nKS2Oper0Param2=-255\nKS3Oper0=-1\n");
  ReadMacros(file, macros);
  EXPECT_EQ(macros.current, 0);
  EXPECT_EQ(macros.macros[0].name.size(), kMaxMacroName);
  EXPECT_EQ(macros.macros[0].steps[0].code, static_cast<uint8_t>(RetouchOp::SineHEnhance)) << "code 12 leaves the step";
  EXPECT_EQ(macros.macros[0].steps[0].parameters[0], 60);
  EXPECT_EQ(macros.macros[0].steps[1].code, static_cast<uint8_t>(RetouchOp::ContrastEnhance));
  EXPECT_EQ(macros.macros[0].steps[1].parameters[0], 0) << "65 is outside -64..64";
  EXPECT_EQ(macros.macros[2].steps[0].parameters, (std::array<int32_t, 3>{-359, 0, -255}));
  EXPECT_EQ(macros.macros[3].steps[0].code, static_cast<uint8_t>(RetouchOp::LogEnhance));
  EXPECT_EQ(macros.macros[1].name, "very dark+high contrast") << "missing keys keep the table";
}

}  // namespace
}  // namespace quilla
