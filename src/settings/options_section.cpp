#include "settings/options_section.h"

#include "core/version.h"
#include "settings/settings_keys.h"
#include "settings/text_bounds.h"

namespace quilla {
namespace {

void WriteInts(IniFile& file, const AppOptions& options, IntOption first, IntOption last) {
  for (int i = static_cast<int>(first); i <= static_cast<int>(last); ++i)
    file.SetInt(kOptionsSection, IntOptionKey(static_cast<IntOption>(i)), options.Int(static_cast<IntOption>(i)));
}

void ReadInts(const IniFile& file, AppOptions& options, IntOption first, IntOption last) {
  for (int i = static_cast<int>(first); i <= static_cast<int>(last); ++i) {
    IntOption option = static_cast<IntOption>(i);
    options.StoreInt(option, file.GetInt(kOptionsSection, IntOptionKey(option), options.Int(option)));
  }
}

void ReadInt(const IniFile& file, AppOptions& options, IntOption option) { ReadInts(file, options, option, option); }

std::string StyleKey(TextStyleGroup group, const char* field) { return std::string(TextStylePrefix(group)) + field; }

void WriteStyle(IniFile& file, const TextStyle& style, TextStyleGroup group) {
  bool normal = group == TextStyleGroup::Normal;
  auto put = [&](const char* field, int value) { file.SetInt(kOptionsSection, StyleKey(group, field), value); };
  if (normal) file.Set(kOptionsSection, StyleKey(group, "Text"), style.text);
  file.Set(kOptionsSection, StyleKey(group, "Font"), style.face);
  put("Opaque", style.opaque);
  put("Bold", style.bold);
  put("Italic", style.italic);
  put("Underline", style.underline);
  put("Strike", style.strikeout);
  put("Alignment", style.alignment);
  if (normal) put("Direction", style.direction);
  put("Points", style.points);
  put("ColorRFore", RedOf(style.foreground));
  put("ColorGFore", GreenOf(style.foreground));
  put("ColorBFore", BlueOf(style.foreground));
  put("ColorRBack", RedOf(style.background));
  put("ColorGBack", GreenOf(style.background));
  put("ColorBBack", BlueOf(style.background));
}

void ReadStyle(const IniFile& file, AppOptions& options, TextStyleGroup group) {
  TextStyle style = options.Style(group);
  bool normal = group == TextStyleGroup::Normal;
  auto get = [&](const char* field, int& value) { value = file.GetInt(kOptionsSection, StyleKey(group, field), value); };
  auto color = [&](const char* field, int current) {
    return file.GetInt(kOptionsSection, StyleKey(group, field), current) & 0xFF;
  };
  if (normal) style.text = file.GetString(kOptionsSection, StyleKey(group, "Text"), style.text, kMaxStyleText);
  style.face = file.GetString(kOptionsSection, StyleKey(group, "Font"), style.face, kMaxFaceName);
  get("Opaque", style.opaque);
  get("Bold", style.bold);
  get("Italic", style.italic);
  get("Underline", style.underline);
  get("Strike", style.strikeout);
  get("Alignment", style.alignment);
  if (normal) get("Direction", style.direction);
  get("Points", style.points);
  style.foreground = PackColor(color("ColorRFore", RedOf(style.foreground)), color("ColorGFore", GreenOf(style.foreground)),
                               color("ColorBFore", BlueOf(style.foreground)));
  style.background = PackColor(color("ColorRBack", RedOf(style.background)), color("ColorGBack", GreenOf(style.background)),
                               color("ColorBBack", BlueOf(style.background)));
  options.SetStyle(group, style);
}

}  // namespace

void WriteWindowState(IniFile& file, const AppOptions& options) {
  file.Set(kIdentitySection, "Author", kAuthorText);
  file.Set(kIdentitySection, "Copyright", kCopyrightText);
  file.Set(kIdentitySection, "Version", kVersionText);
  WriteInts(file, options, IntOption::DlgX, IntOption::TBarRight);
  file.SetInt(kOptionsSection, "CBackR", options.CBackR());
  file.SetInt(kOptionsSection, "CBackG", options.CBackG());
  file.SetInt(kOptionsSection, "CBackB", options.CBackB());
  WriteInts(file, options, IntOption::AutoQuantize, IntOption::C8Black);
}

void WriteOptionsSection(IniFile& file, const AppOptions& options) {
  WriteInts(file, options, IntOption::AutoResize, IntOption::UseTmpFiles);
  file.Set(kOptionsSection, "TmpPath", options.TmpPath());
  WriteInts(file, options, IntOption::EnableUndo, IntOption::EnableUndo);
  WriteStyle(file, options.Style(TextStyleGroup::Normal), TextStyleGroup::Normal);
  WriteStyle(file, options.Style(TextStyleGroup::Contact), TextStyleGroup::Contact);
  WriteInts(file, options, IntOption::CenterPrinterPage, IntOption::ContaDim);
  file.SetInt(kOptionsSection, "ContaBackR", options.ContaBackR());
  file.SetInt(kOptionsSection, "ContaBackG", options.ContaBackG());
  file.SetInt(kOptionsSection, "ContaBackB", options.ContaBackB());
  WriteInts(file, options, IntOption::SaveGifInterlaced, IntOption::SaveGifInterlaced);
  file.Set(kOptionsSection, "CTL3D32", options.CTL3D32());
  file.Set(kOptionsSection, "CTL3DV2", options.CTL3DV2());
}

Identification ReadIdentification(const IniFile& file) {
  return {file.GetString(kIdentitySection, "Author", "", kMaxIdentityText),
          file.GetString(kIdentitySection, "Copyright", "", kMaxIdentityText),
          file.GetString(kIdentitySection, "Version", "", kMaxIdentityText)};
}

bool IsForeign(const Identification& identification) {
  return identification.author != kAuthorText || identification.copyright != kCopyrightText;
}

void ReadOptionsSection(const IniFile& file, AppOptions& options) {
  using O = IntOption;
  ReadInts(file, options, O::AutoResize, O::CopyClipbdFmt);
  ReadInt(file, options, O::ShowToolBarLegend);
  ReadInt(file, options, O::FullOnTop);
  ReadInts(file, options, O::CombineMode, O::UseSysPalette);
  ReadInt(file, options, O::SaveJpegGS);
  ReadInt(file, options, O::JpegQuality);
  ReadInt(file, options, O::WarnJpegGsSave);
  ReadInt(file, options, O::JpegEntOpt);
  ReadInts(file, options, O::JpegDecompressionSetup, O::SSNSecondsDelay);
  ReadInts(file, options, O::DlgX, O::TBarRight);
  options.SetCBackR(file.GetInt(kOptionsSection, "CBackR", 255));
  options.SetCBackG(file.GetInt(kOptionsSection, "CBackG", 255));
  options.SetCBackB(file.GetInt(kOptionsSection, "CBackB", 255));
  ReadInt(file, options, O::UseTmpFiles);
  options.SetTmpPath(file.GetString(kOptionsSection, "TmpPath", ".\\"));
  ReadInt(file, options, O::EnableUndo);
  ReadStyle(file, options, TextStyleGroup::Normal);
  ReadStyle(file, options, TextStyleGroup::Contact);
  if (options.Hooks().thickAreaFrameChanged) options.Hooks().thickAreaFrameChanged(options.ThickAreaFrame());
  ReadInts(file, options, O::CenterPrinterPage, O::ContaDim);
  // Missing components are 255 here, whatever the default colour.
  options.SetContaBack(PackColor(file.GetInt(kOptionsSection, "ContaBackR", 255),
                                 file.GetInt(kOptionsSection, "ContaBackG", 255),
                                 file.GetInt(kOptionsSection, "ContaBackB", 255)));
  ReadInts(file, options, O::AutoQuantize, O::C8Black);
  ReadInt(file, options, O::ShowThumbsIcon);
  options.SetCTL3D32(file.GetString(kOptionsSection, "CTL3D32", "CTL3D32.DLL"));
  options.SetCTL3DV2(file.GetString(kOptionsSection, "CTL3DV2", "CTL3DV2.DLL"));
  ReadInt(file, options, O::SaveGifInterlaced);
}

}  // namespace quilla
