// Options > Contact sheet (ContaDlgProc): the sheet's size and background colour and the
// style of its file-name labels. OK stores them all; Cancel stores nothing.
#include "core/messages.h"
#include "resources/contact_sheet_dialog_ids.h"
#include "settings/app_options.h"
#include "shell/colour_choice_dialogs.h"
#include "shell/contact_sheet.h"
#include "shell/dialog_support.h"
#include "shell/display.h"
#include "shell/font_choice.h"
#include "shell/gdi.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {

constexpr int kHelpTopic = 39;
constexpr int kSizeIds[] = {IDC_CO_640, IDC_CO_800, IDC_CO_1024, IDC_CO_1280};          // by "ContaDim"
constexpr int kAlignmentIds[] = {IDC_CO_CENTRED, IDC_CO_LEFT_ALIGNED, IDC_CO_RIGHT_ALIGNED};  // by value
constexpr FontControls kFontIds{IDC_CO_FACE, IDC_CO_POINTS, IDC_CO_BOLD,
                                IDC_CO_ITALIC, IDC_CO_UNDERLINE, IDC_CO_STRIKEOUT};
constexpr int kDefaultSize = 1;  // 800 x 600, what any other value gives

// The colours as the dialog shows them (red in the low byte, as a COLORREF), and on a
// palette display the three-entry palette the swatches are painted through.
struct OptionsRun {
  uint32_t colours[3] = {};
  GdiObject<HPALETTE> palette;
};
OptionsRun* run = nullptr;
enum Swatch { kSheet, kForeground, kBackground };
constexpr int kSwatchIds[] = {IDC_CO_SHEET_SWATCH, IDC_CO_FOREGROUND_SWATCH, IDC_CO_BACKGROUND_SWATCH};

TextStyle StoredStyle() { return Options().Style(TextStyleGroup::Contact); }

GdiObject<HPALETTE> MakeSwatchPalette(const uint32_t (&colours)[3]) {
  struct {
    WORD version, count;
    PALETTEENTRY entries[3];
  } logical{0x300, 3, {}};
  for (int i = 0; i < 3; ++i)
    logical.entries[i] = {BYTE(RedOf(colours[i])), BYTE(GreenOf(colours[i])), BYTE(BlueOf(colours[i])), 0};
  return GdiObject<HPALETTE>(CreatePalette(reinterpret_cast<const LOGPALETTE*>(&logical)));
}

void PaintSwatch(const DRAWITEMSTRUCT& item) {
  int swatch = kSheet;
  while (swatch < kBackground && kSwatchIds[swatch] != int(item.CtlID)) ++swatch;
  const COLORREF colour = run->colours[swatch];
  SelectedPalette selected(item.hDC, run->palette.Get());
  selected.Realize();
  GdiObject<HBRUSH> brush(CreateSolidBrush(run->palette ? PALETTERGB(GetRValue(colour), GetGValue(colour),
                                                                     GetBValue(colour))
                                                        : colour));
  FillRect(item.hDC, &item.rcItem, brush.Get());
}

void ChooseColour(HWND dialog, Swatch swatch) {
  uint32_t rgb = PackedToRgb(run->colours[swatch]);
  if (!SelectColor(dialog, rgb)) return;
  run->colours[swatch] = RgbToPacked(rgb);
  if (run->palette) {
    const uint32_t c = run->colours[swatch];
    const PALETTEENTRY entry{BYTE(RedOf(c)), BYTE(GreenOf(c)), BYTE(BlueOf(c)), 0};
    SetPaletteEntries(run->palette.Get(), UINT(swatch), 1, &entry);
  }
  InvalidateRect(GetDlgItem(dialog, kSwatchIds[swatch]), nullptr, TRUE);
}

void Fill(HWND dialog, LPARAM) {
  const TextStyle style = StoredStyle();
  const int size = Options().ContaDim();
  SetChecked(dialog, kSizeIds[size >= 0 && size < 4 ? size : kDefaultSize], true);
  SetChecked(dialog, IDC_CO_TRANSPARENT, !style.opaque);
  SetChecked(dialog, kAlignmentIds[style.alignment >= 0 && style.alignment < 3 ? style.alignment : 0], true);
  ShowFontChoice(dialog, kFontIds, style);
}

bool Store(HWND dialog) {
  Options().SetContaDim(CheckedIndex(dialog, kSizeIds, kDefaultSize));
  Options().SetContaBack(run->colours[kSheet]);
  TextStyle style = StoredStyle();
  style.foreground = run->colours[kForeground];
  style.background = run->colours[kBackground];
  ReadFontChoice(dialog, kFontIds, style);
  style.opaque = !IsChecked(dialog, IDC_CO_TRANSPARENT);
  style.alignment = CheckedIndex(dialog, kAlignmentIds);
  Options().SetStyle(TextStyleGroup::Contact, style);
  return true;
}

}  // namespace

INT_PTR CALLBACK ContaDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Large, kHelpTopic, Fill, Store, nullptr};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_DRAWITEM: PaintSwatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CO_SHEET_COLOR: ChooseColour(dialog, kSheet); return TRUE;
        case IDC_CO_FOREGROUND: ChooseColour(dialog, kForeground); return TRUE;
        case IDC_CO_BACKGROUND: ChooseColour(dialog, kBackground); return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

void ShowContactOptions(HWND owner) {
  const TextStyle style = StoredStyle();
  OptionsRun state;
  state.colours[kSheet] = Options().ContaBack();
  state.colours[kForeground] = style.foreground;
  state.colours[kBackground] = style.background;
  bool paletteDisplay = false;
  {
    WindowDC screen(nullptr);
    paletteDisplay = PaletteDevice(screen);
  }
  if (paletteDisplay) {
    state.palette = MakeSwatchPalette(state.colours);
    if (!state.palette) {
      ShowNoMemory(owner);
      return;
    }
  }
  run = &state;
  DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_CONTACT_OPTIONS), owner ? owner : shell.mainWindow,
                  ContaDlgProc, 0);
  run = nullptr;
}

}  // namespace quilla
