#include "shell/colour_choice_dialogs.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <optional>

#include "core/commands.h"
#include "core/dib_image.h"
#include "resources/resource_ids.h"
#include "resources/retouch_dialog_ids.h"
#include "settings/app_options.h"
#include "shell/dialog_support.h"
#include "shell/display.h"
#include "shell/gdi.h"
#include "shell/scroll_control.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {

constexpr int kHelpColor24 = 40, kHelpPaletteEntry = 73;

bool OnPaletteDevice() { return Options().GetDisplayMode() == DisplayMode::Palette; }

// The Dropper: the dialog ends as Cancel and the main window waits for a click on the image.
void EndWithDropper(HWND dialog) {
  EndDialog(dialog, IDCANCEL);
  PostCommand(cmd::kPickColor);
}

// ---- Select 24-bit Color

struct C24Run {
  uint32_t colour;
  const ColourChoice* choice;
  std::array<ScrollControl, 3> channels;  // red, green, blue
};
C24Run* c24 = nullptr;  // the dialog is modal: one run at a time

constexpr int kChannelBars[3] = {IDC_C24_RED, IDC_C24_GREEN, IDC_C24_BLUE};
constexpr int kChannelValues[3] = {IDC_C24_RED_VALUE, IDC_C24_GREEN_VALUE, IDC_C24_BLUE_VALUE};
constexpr int kChannelShift[3] = {16, 8, 0};

void FillC24(HWND dialog, LPARAM init) {
  c24 = reinterpret_cast<C24Run*>(init);
  for (int c = 0; c < 3; ++c) {
    const int value = int(c24->colour >> kChannelShift[c] & 0xFF);
    c24->channels[size_t(c)] = ScrollControl(dialog, kChannelBars[c], kChannelValues[c], 0, 255, 8, value);
  }
  EnableControl(dialog, IDC_COLOUR_DROPPER, c24->choice->dropper);
}

uint32_t SlidersColour(const C24Run& run) {
  uint32_t rgb = 0;
  for (int c = 0; c < 3; ++c) rgb |= uint32_t(run.channels[size_t(c)].Value()) << kChannelShift[c];
  return rgb;
}

void PaintSwatch(const DRAWITEMSTRUCT& item) {
  const uint32_t rgb = c24->colour;
  const BYTE red = BYTE(rgb >> 16), green = BYTE(rgb >> 8), blue = BYTE(rgb);
  if (!OnPaletteDevice()) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(red, green, blue)));
    FillRect(item.hDC, &item.rcItem, brush.Get());
    return;
  }
  // A palette of exactly this colour, so that the swatch shows it undithered.
  LOGPALETTE one{0x300, 1, {{red, green, blue, 0}}};
  GdiObject<HPALETTE> palette(CreatePalette(&one));
  SelectedPalette selected(item.hDC, palette.Get());
  selected.Realize();
  GdiObject<HBRUSH> brush(CreateSolidBrush(palette ? PALETTEINDEX(0) : RGB(red, green, blue)));
  FillRect(item.hDC, &item.rcItem, brush.Get());
}

// ---- Select Color Palette Entry

struct C8Run {
  DIBImage* document;
  uint32_t index;
  uint32_t count;
  bool dropper;
  bool mask, black;                // "C8Mask", "C8Black" as the dialog shows them
  std::array<RgbQuad, 256> table;  // the real colour table: drawn, and put back at the end
};
C8Run* c8 = nullptr;

// The 16 x 16 cells inside the grid control's client area, with a 2-pixel margin.
class Grid {
 public:
  static constexpr int kSide = 16, kMargin = 2;
  explicit Grid(const RECT& area)
      : area(area),
        cellWidth((area.right - area.left - 2 * kMargin) / kSide),
        cellHeight((area.bottom - area.top - 2 * kMargin) / kSide) {}

  RECT Cell(uint32_t index) const {
    const int left = area.left + kMargin + int(index % kSide) * cellWidth;
    const int top = area.top + kMargin + int(index / kSide) * cellHeight;
    return {left, top, left + cellWidth, top + cellHeight};
  }
  std::optional<uint32_t> CellAt(POINT point) const {
    if (cellWidth <= 0 || cellHeight <= 0) return std::nullopt;
    const int x = point.x - area.left - kMargin, y = point.y - area.top - kMargin;
    if (x < 0 || y < 0 || x / cellWidth >= kSide || y / cellHeight >= kSide) return std::nullopt;
    return uint32_t(y / cellHeight * kSide + x / cellWidth);
  }

 private:
  RECT area;
  int cellWidth, cellHeight;
};

// XOR with white: the frame shows on every colour and a second drawing takes it away.
void InvertFrame(HDC dc, const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  PatBlt(dc, r.left, r.top, width, 1, DSTINVERT);
  PatBlt(dc, r.left, r.bottom - 1, width, 1, DSTINVERT);
  PatBlt(dc, r.left, r.top + 1, 1, height - 2, DSTINVERT);
  PatBlt(dc, r.right - 1, r.top + 1, 1, height - 2, DSTINVERT);
}

void PaintGrid(const DRAWITEMSTRUCT& item) {
  const C8Run& run = *c8;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  const bool paletteDevice = OnPaletteDevice();
  // The cells are matched against the image's own palette, realized first.
  SelectedPalette palette(item.hDC, paletteDevice ? MainImagePalette() : nullptr);
  palette.Realize();
  const Grid grid(item.rcItem);
  for (uint32_t i = 0; i < run.count; ++i) {
    const RgbQuad& entry = run.table[i];
    const COLORREF colour =
        paletteDevice ? PALETTERGB(entry.red, entry.green, entry.blue) : RGB(entry.red, entry.green, entry.blue);
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    const RECT cell = grid.Cell(i);
    FillRect(item.hDC, &cell, brush.Get());
  }
  InvertFrame(item.hDC, grid.Cell(run.index));
}

// The image's colour table as the mask wants it: the real one, or with every entry but the
// selected one black or white, so that the places using the entry stand out.
void ShowImageTable(const C8Run& run, bool masked) {
  std::array<RgbQuad, 256> shown = run.table;
  if (masked) {
    const RgbQuad other = run.black ? RgbQuad{0, 0, 0, 0} : RgbQuad{255, 255, 255, 0};
    for (uint32_t i = 0; i < run.count; ++i) {
      if (i != run.index) shown[i] = other;
    }
  }
  const std::array<RgbQuad, 256> now = run.document->ColorTable();
  if (std::memcmp(shown.data(), now.data(), run.count * sizeof(RgbQuad)) == 0) return;
  run.document->SetColors(shown.data());
  Repaint(false);
}

void ShowSelection(HWND dialog) {
  const RgbQuad& entry = c8->table[c8->index];
  SetDlgItemInt(dialog, IDC_C8_INDEX, c8->index, FALSE);
  wchar_t rgb[32];
  std::swprintf(rgb, std::size(rgb), L"(%d,%d,%d)", entry.red, entry.green, entry.blue);
  SetDlgItemTextW(dialog, IDC_C8_RGB, rgb);
  InvalidateRect(GetDlgItem(dialog, IDC_COLOUR_AREA), nullptr, FALSE);
  ShowImageTable(*c8, c8->mask);
}

void FillC8(HWND dialog, LPARAM init) {
  c8 = reinterpret_cast<C8Run*>(init);
  SetChecked(dialog, IDC_C8_MASK, c8->mask);
  SetChecked(dialog, c8->black ? IDC_C8_BLACK : IDC_C8_WHITE, true);
  EnableControl(dialog, IDC_COLOUR_DROPPER, c8->dropper);
  ShowSelection(dialog);
}

// A click at a point of the dialog: the cell under it, if it holds a colour.
std::optional<uint32_t> ClickedEntry(HWND dialog, LPARAM lParam) {
  HWND control = GetDlgItem(dialog, IDC_COLOUR_AREA);
  POINT point{short(LOWORD(lParam)), short(HIWORD(lParam))};
  MapWindowPoints(dialog, control, &point, 1);
  RECT area;
  GetClientRect(control, &area);
  const std::optional<uint32_t> index = Grid(area).CellAt(point);
  if (!index || *index >= c8->count) return std::nullopt;
  return index;
}

// What both dialogs share beyond the pattern: the colour area, drawn by paint, and the Dropper.
bool HandleColourDialog(const DialogPattern& pattern, void (*paint)(const DRAWITEMSTRUCT&), HWND dialog, UINT message,
                        WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return true;
  result = TRUE;
  if (message == WM_DRAWITEM && wParam == IDC_COLOUR_AREA) {
    paint(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return true;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_COLOUR_DROPPER) {
    EndWithDropper(dialog);
    return true;
  }
  result = FALSE;
  return false;
}

}  // namespace

INT_PTR CALLBACK C24DlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpColor24, FillC24, nullptr, nullptr};
  INT_PTR result = FALSE;
  if (HandleColourDialog(pattern, PaintSwatch, dialog, message, wParam, lParam, result)) return result;
  if (message != WM_HSCROLL || !c24) return FALSE;
  for (ScrollControl& channel : c24->channels) {
    if (reinterpret_cast<HWND>(lParam) != channel.Bar()) continue;
    const bool completed = channel.OnScroll(LOWORD(wParam), HIWORD(wParam));
    c24->colour = SlidersColour(*c24);
    InvalidateRect(GetDlgItem(dialog, IDC_COLOUR_AREA), nullptr, FALSE);
    if (completed && c24->choice->live) c24->choice->live(c24->colour);
  }
  return TRUE;
}

INT_PTR CALLBACK C8DlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpPaletteEntry, FillC8, nullptr, nullptr};
  INT_PTR result = FALSE;
  if (HandleColourDialog(pattern, PaintGrid, dialog, message, wParam, lParam, result)) return result;
  if (!c8) return FALSE;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const std::optional<uint32_t> index = ClickedEntry(dialog, lParam);
      if (!index) return TRUE;
      c8->index = *index;
      ShowSelection(dialog);
      if (message == WM_LBUTTONDBLCLK) EndDialog(dialog, IDOK);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_C8_MASK && LOWORD(wParam) != IDC_C8_BLACK && LOWORD(wParam) != IDC_C8_WHITE)
        return FALSE;
      c8->mask = IsChecked(dialog, IDC_C8_MASK);
      c8->black = IsChecked(dialog, IDC_C8_BLACK);
      ShowImageTable(*c8, c8->mask);
      return TRUE;
  }
  return FALSE;
}

bool SelectColor(HWND owner, uint32_t& colour, const ColourChoice& choice) {
  C24Run run{colour & 0xFFFFFF, &choice, {}};
  const INT_PTR answer = DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_COLOR_24), owner, C24DlgProc,
                                         reinterpret_cast<LPARAM>(&run));
  c24 = nullptr;
  if (answer != IDOK) return false;
  colour = run.colour;
  return true;
}

bool SelectPaletteEntry(HWND owner, uint32_t& index, bool dropper) {
  DIBImage& document = shell.mainDocument;
  if (!document.HasImage() || document.IsTrueColor()) return false;
  const uint32_t count = std::min<uint32_t>(document.ColorCount(), 256);
  const bool mask = Options().C8Mask() != 0, black = Options().C8Black() != 0;
  C8Run run{&document, index < count ? index : 0, count, dropper, mask, black, document.ColorTable()};
  const INT_PTR answer = DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_PALETTE_ENTRY), owner, C8DlgProc,
                                         reinterpret_cast<LPARAM>(&run));
  c8 = nullptr;
  ShowImageTable(run, false);
  if (answer != IDOK) return false;
  Options().SetC8Mask(run.mask ? 1 : 0);
  Options().SetC8Black(run.black ? 1 : 0);
  index = run.index;
  return true;
}

}  // namespace quilla
