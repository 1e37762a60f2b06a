#include "settings/list_sections.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "settings/settings_keys.h"
#include "settings/text_bounds.h"

namespace quilla {
namespace {

std::string Key(const char* format, int a, int b = 0, int c = 0) {
  char key[64];
  std::snprintf(key, sizeof key, format, a, b, c);
  return key;
}

const char* const kChannelKeys[3] = {"FunctionR", "FunctionG", "FunctionB"};
const char* const kUseKeys[3] = {"UseFunctionR", "UseFunctionG", "UseFunctionB"};

// The 25 weights as "%d,%d,...": numbers are taken in order up to the first that does
// not read; the rest keep what the kernel held.
void ScanKernel(const std::string& text, std::array<int, 25>& kernel) {
  size_t pos = 0;
  for (int i = 0; i < 25; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != ',') return;
      ++pos;
    }
    size_t start = pos;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
    size_t digits = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
    if (pos == digits) return;
    kernel[i] = ParseProfileInt(std::string_view(text).substr(start, pos - start)).value_or(kernel[i]);
  }
}

}  // namespace

void ReadFunctions(const IniFile& file, UserFunctionList& functions) {
  if (!file.HasSection(kFunctionsSection)) return;
  int count = 0;
  for (int s = 0; s < kFunctionSlots; ++s) {
    std::string text = file.GetString(kFunctionsSection, Key("Function%d", s), "", kMaxFunctionText);
    if (!text.empty()) functions.slots[count++].text = text;
  }
  for (; count < kFunctionSlots; ++count)
    functions.slots[count].text = count == 0 ? std::string("x") : Key("x^(1/%d)", count + 1);
  functions.count = count;
  for (int c = 0; c < 3; ++c) {
    int selected = file.GetInt(kFunctionsSection, kChannelKeys[c], functions.selected[c]);
    functions.selected[c] = selected >= 0 && selected < functions.count ? selected : 0;
    functions.use[c] = file.GetInt(kFunctionsSection, kUseKeys[c], functions.use[c]);
  }
}

void WriteFunctions(IniFile& file, const UserFunctionList& functions) {
  int count = std::clamp(functions.count, 0, kFunctionSlots);
  file.SetInt(kOptionsSection, "NFunctions", count);
  for (int s = 0; s < count; ++s) file.Set(kFunctionsSection, Key("Function%d", s), functions.slots[s].text);
  for (int c = 0; c < 3; ++c) file.SetInt(kFunctionsSection, kChannelKeys[c], functions.selected[c]);
  for (int c = 0; c < 3; ++c) file.SetInt(kFunctionsSection, kUseKeys[c], functions.use[c]);
}

void ReadFilterSpecs(const IniFile& file, std::array<FilterSpec, kFilterSlots>& filters) {
  if (!file.HasSection(kFiltersSection)) return;
  for (int s = 0; s < kFilterSlots; ++s) {
    FilterSpec spec = FilterSpec::Identity();
    spec.name = file.GetString(kFiltersSection, Key("Filter%dName", s), "", kMaxFilterName);
    spec.color = file.GetInt(kFiltersSection, Key("Filter%dColor", s), spec.color);
    spec.red = file.GetInt(kFiltersSection, Key("Filter%dR", s), spec.red);
    spec.green = file.GetInt(kFiltersSection, Key("Filter%dG", s), spec.green);
    spec.blue = file.GetInt(kFiltersSection, Key("Filter%dB", s), spec.blue);
    // A divisor of 0 would divide by zero when the filter runs.
    spec.divisor = std::clamp(file.GetInt(kFiltersSection, Key("Filter%dDiv", s), spec.divisor), 1, 999);
    spec.bias = std::clamp(file.GetInt(kFiltersSection, Key("Filter%dBias", s), spec.bias), -255, 255);
    ScanKernel(file.GetString(kFiltersSection, Key("Filter%dSpec", s), ""), spec.kernel);
    for (int& weight : spec.kernel) weight = std::clamp(weight, -255, 255);
    filters[s] = spec;
  }
}

void WriteFilterSpecs(IniFile& file, const std::array<FilterSpec, kFilterSlots>& filters) {
  for (int s = 0; s < kFilterSlots; ++s) {
    const FilterSpec& spec = filters[s];
    file.Set(kFiltersSection, Key("Filter%dName", s), spec.name);
    file.SetInt(kFiltersSection, Key("Filter%dColor", s), spec.color);
    file.SetInt(kFiltersSection, Key("Filter%dR", s), spec.red);
    file.SetInt(kFiltersSection, Key("Filter%dG", s), spec.green);
    file.SetInt(kFiltersSection, Key("Filter%dB", s), spec.blue);
    file.SetInt(kFiltersSection, Key("Filter%dDiv", s), spec.divisor);
    file.SetInt(kFiltersSection, Key("Filter%dBias", s), spec.bias);
    std::string weights;
    for (int i = 0; i < 25; ++i) {
      if (i > 0) weights += ',';
      weights += std::to_string(spec.kernel[i]);
    }
    file.Set(kFiltersSection, Key("Filter%dSpec", s), weights);
  }
}

void ReadMacros(const IniFile& file, MacroTable& macros) {
  if (!file.HasSection(kMacrosSection)) return;
  int current = file.GetInt(kMacrosSection, "KSCurrent", macros.current);
  macros.current = current >= 0 && current < kMacroCount ? current : 0;
  for (int n = 0; n < kMacroCount; ++n) {
    MacroRetouch& macro = macros.macros[n];
    macro.name = file.GetString(kMacrosSection, Key("KS%dName", n), macro.name, kMaxMacroName);
    for (int k = 0; k < kMacroSlots; ++k) {
      MacroStep& step = macro.steps[k];
      int code = file.GetInt(kMacrosSection, Key("KS%dOper%d", n, k), step.code);
      if (code < 0 || code >= kRetouchOpCount) continue;
      step.code = static_cast<uint8_t>(code);
      const RetouchOpInfo& info = RetouchOpInfoOf(code);
      for (int j = 0; j < info.parameterCount; ++j) {
        int value = file.GetInt(kMacrosSection, Key("KS%dOper%dParam%d", n, k, j), step.parameters[j]);
        step.parameters[j] = value >= info.minimum[j] && value <= info.maximum[j] ? value : 0;
      }
    }
  }
}

void WriteMacros(IniFile& file, const MacroTable& macros) {
  file.SetInt(kMacrosSection, "KSCurrent", macros.current);
  for (int n = 0; n < kMacroCount; ++n) {
    const MacroRetouch& macro = macros.macros[n];
    file.Set(kMacrosSection, Key("KS%dName", n), macro.name);
    for (int k = 0; k < kMacroSlots; ++k) {
      const MacroStep& step = macro.steps[k];
      file.SetInt(kMacrosSection, Key("KS%dOper%d", n, k), step.code);
      int count = RetouchOpInfoOf(step.code).parameterCount;
      for (int j = 0; j < count; ++j) file.SetInt(kMacrosSection, Key("KS%dOper%dParam%d", n, k, j), step.parameters[j]);
    }
  }
}

}  // namespace quilla
