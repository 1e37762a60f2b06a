// Edit > Add Text (TAddTextDlgProc): the text is drawn into a detached copy of the image under
// the rectangle, which floats until the user applies it. Every change of the style re-draws
// it there; typing only stores the text. The style is the settings' "Normal" group.
#include <array>
#include <string>

#include "core/messages.h"
#include "resources/resource_ids.h"
#include "resources/text_dialog_ids.h"
#include "retouch/geometry.h"
#include "settings/app_options.h"
#include "shell/colour_choice_dialogs.h"
#include "shell/dialog_support.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/font_choice.h"
#include "shell/scroll_control.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/text_render.h"
#include "shell/text_rules.h"

namespace quilla {

namespace {

constexpr int kHelpTopic = 32;
constexpr int kPageStep = 8;
constexpr int kMaxTextChars = 253;

constexpr int kSliderIds[] = {IDC_AT_LEFT, IDC_AT_TOP, IDC_AT_WIDTH, IDC_AT_HEIGHT};
constexpr int kReadoutIds[] = {IDC_AT_LEFT_VALUE, IDC_AT_TOP_VALUE, IDC_AT_WIDTH_VALUE, IDC_AT_HEIGHT_VALUE};
constexpr int kAlignmentIds[] = {IDC_AT_CENTRED, IDC_AT_LEFT_ALIGNED, IDC_AT_RIGHT_ALIGNED};  // by value
constexpr int kDirectionIds[] = {IDC_AT_HORIZONTAL, IDC_AT_VERTICAL_UP, IDC_AT_VERTICAL_DOWN};
constexpr FontControls kFontIds{IDC_AT_FACE, IDC_AT_POINTS, IDC_AT_BOLD,
                                IDC_AT_ITALIC, IDC_AT_UNDERLINE, IDC_AT_STRIKEOUT};

// One run of the command.
struct AddTextRun {
  ImageRect rect;
  uint32_t foreground = 0, background = 0;  // the style's colours, red in the low byte
  PaletteInks inks;                         // a palette image's entries instead
  GdiObject<HPALETTE> palette;              // a palette image's colours, for the swatches
  std::array<ScrollControl, 4> sliders;
};
AddTextRun* run = nullptr;

DIBImage& Main() { return shell.mainDocument; }
bool PaletteImage() { return !Main().IsTrueColor(); }

TextStyle StoredStyle() { return Options().Style(TextStyleGroup::Normal); }
void Store(const TextStyle& style) { Options().SetStyle(TextStyleGroup::Normal, style); }

void ShowSliders(HWND dialog) {
  const RectSliders ranges = RectSliderRanges(run->rect, Main().Width(), Main().Height());
  const SliderRange limits[] = {ranges.left, ranges.top, ranges.width, ranges.height};
  const ImageRect& r = run->rect;
  const int values[] = {r.left, r.top, r.Width(), r.Height()};
  for (size_t i = 0; i < run->sliders.size(); ++i) {
    run->sliders[i] = ScrollControl(dialog, kSliderIds[i], kReadoutIds[i], limits[i].minimum, limits[i].maximum,
                                    kPageStep, values[i]);
  }
}

// The style as the dialog shows it.
TextStyle DialogStyle(HWND dialog) {
  TextStyle style = StoredStyle();
  style.text = ControlText(dialog, IDC_AT_TEXT);
  ReadFontChoice(dialog, kFontIds, style);
  style.alignment = CheckedIndex(dialog, kAlignmentIds);
  style.direction = CheckedIndex(dialog, kDirectionIds);
  style.opaque = !IsChecked(dialog, IDC_AT_TRANSPARENT);
  style.foreground = run->foreground;
  style.background = run->background;
  return style;
}

// The area is copied again from the image under rect and, with text, the text drawn over it.
bool DrawArea(const ImageRect& rect, const TextStyle& style) {
  DIBImage& area = AreaDocument();
  if (!ExtractRect(Main(), rect.left, rect.top, rect.Width(), rect.Height(), area))
    return false;
  return style.text.empty() || RenderText(area, style, std::nullopt, run->inks) == TextRenderResult::Ok;
}

void Rerender(HWND dialog) {
  const TextStyle style = DialogStyle(dialog);
  if (style.text.empty()) return;
  Store(style);
  if (!DrawArea(run->rect, style)) ShowNoMemory(dialog);
  SetSelection(run->rect);
}

// A completed slider change moves or resizes the rectangle; without the memory for it the
// rectangle stays where it was.
void OnSlider(HWND dialog, HWND bar, int code, int thumb) {
  for (ScrollControl& slider : run->sliders) {
    if (slider.Bar() != bar || !slider.OnScroll(code, thumb)) continue;
    const ImageRect moved = RectFromSliders(run->sliders[0].Value(), run->sliders[1].Value(),
                                            run->sliders[2].Value(), run->sliders[3].Value());
    if (DrawArea(moved, DialogStyle(dialog))) {
      run->rect = moved;
      SetSelection(moved);
    } else {
      ShowNoMemory(dialog);
      DrawArea(run->rect, DialogStyle(dialog));
    }
    ShowSliders(dialog);
    return;
  }
}

void ChooseColour(HWND dialog, bool foreground) {
  bool chosen = false;
  if (PaletteImage()) {
    uint32_t& index = foreground ? run->inks.foreground : run->inks.background;
    chosen = SelectPaletteEntry(dialog, index);
  } else {
    uint32_t& colour = foreground ? run->foreground : run->background;
    uint32_t rgb = PackedToRgb(colour);
    chosen = SelectColor(dialog, rgb);
    if (chosen) colour = RgbToPacked(rgb);
  }
  if (!chosen) return;
  InvalidateRect(GetDlgItem(dialog, foreground ? IDC_AT_FOREGROUND_SWATCH : IDC_AT_BACKGROUND_SWATCH), nullptr, TRUE);
  Rerender(dialog);
}

// A palette image's swatch shows the entry through the image's own palette.
void PaintSwatch(const DRAWITEMSTRUCT& item) {
  const bool foreground = item.CtlID == IDC_AT_FOREGROUND_SWATCH;
  SelectedPalette selected(item.hDC, run->palette.Get());
  selected.Realize();
  const COLORREF colour = run->palette ? PALETTEINDEX(foreground ? run->inks.foreground : run->inks.background)
                                       : COLORREF(foreground ? run->foreground : run->background);
  GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(item.hDC, &item.rcItem, brush.Get());
}

void Fill(HWND dialog, LPARAM) {
  const TextStyle style = StoredStyle();
  SendDlgItemMessageW(dialog, IDC_AT_TEXT, EM_LIMITTEXT, kMaxTextChars, 0);
  SetControlText(dialog, IDC_AT_TEXT, style.text);
  SetChecked(dialog, IDC_AT_TRANSPARENT, !style.opaque);
  EnableControl(dialog, IDC_AT_BACKGROUND, style.opaque != 0);
  EnableControl(dialog, IDC_AT_EXEC, !style.text.empty());
  SetChecked(dialog, kAlignmentIds[style.alignment >= 0 && style.alignment < 3 ? style.alignment : 0], true);
  SetChecked(dialog, kDirectionIds[style.direction >= 0 && style.direction < 3 ? style.direction : 0], true);
  ShowFontChoice(dialog, kFontIds, style);
  ShowSliders(dialog);
}

// OK keeps every value, and the text drawn as the dialog shows it.
bool Keep(HWND dialog) {
  Store(DialogStyle(dialog));
  Rerender(dialog);
  return true;
}

// Cancel and the close box keep only the text.
void KeepText(HWND dialog) {
  TextStyle style = StoredStyle();
  style.text = ControlText(dialog, IDC_AT_TEXT);
  Store(style);
}

// The check boxes and the radio buttons.
bool IsStyleControl(int control) { return control >= IDC_AT_BOLD && control <= IDC_AT_VERTICAL_DOWN; }

bool OnCommand(HWND dialog, int control, int notification) {
  switch (control) {
    case IDC_AT_TEXT:
      if (notification != EN_CHANGE) return false;
      KeepText(dialog);
      EnableControl(dialog, IDC_AT_EXEC, !ControlText(dialog, IDC_AT_TEXT).empty());
      return true;
    case IDC_AT_FACE:
    case IDC_AT_POINTS:
      if (notification == CBN_SELCHANGE) Rerender(dialog);
      return true;
    case IDC_AT_TRANSPARENT:
      EnableControl(dialog, IDC_AT_BACKGROUND, !IsChecked(dialog, IDC_AT_TRANSPARENT));
      Rerender(dialog);
      return true;
    case IDC_AT_FOREGROUND: ChooseColour(dialog, true); return true;
    case IDC_AT_BACKGROUND: ChooseColour(dialog, false); return true;
    case IDC_AT_EXEC: Rerender(dialog); return true;
  }
  if (!IsStyleControl(control) || notification != BN_CLICKED) return false;
  Rerender(dialog);
  return true;
}

}  // namespace

INT_PTR CALLBACK TAddTextDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpTopic, Fill, Keep, KeepText};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_HSCROLL: OnSlider(dialog, reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_DRAWITEM: PaintSwatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
  }
  return FALSE;
}

void ShowAddText() {
  DIBImage& document = Main();
  if (!document.IsOperable()) return;
  // A detached area may be applied first; its rectangle is used either way.
  const ImageRect wanted = HasSelection() ? SelectionRect() : kDefaultTextRect;
  if (IsDetached() && !DropSelection(1)) return;
  AddTextRun state;
  state.rect = TextRectangle(wanted, document.Width(), document.Height());
  if (!DetachCopyOf(state.rect)) return;
  const TextStyle style = StoredStyle();
  state.foreground = style.foreground;
  state.background = style.background;
  if (PaletteImage()) {
    state.inks = {document.NearestIndex(PackedToRgb(style.foreground)),
                  document.NearestIndex(PackedToRgb(style.background))};
    state.palette.Reset(MakePlatformPalette(document.Palette()));
  }
  run = &state;
  DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_ADD_TEXT), shell.mainWindow, TAddTextDlgProc, 0);
  run = nullptr;
}

}  // namespace quilla
