// The contact sheet's preview (CPreviewDlgProc): every item is an outline of its box and of
// its label, drawn in exclusive-or so that drawing it again takes it away. The user selects
// a box, moves it, drags an edge to resize it, or resizes every box at once.
#include <windowsx.h>

#include <cstdio>
#include <string>

#include "core/messages.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "resources/contact_sheet_dialog_ids.h"
#include "settings/app_options.h"
#include "shell/contact_sheet.h"
#include "shell/dialog_support.h"
#include "shell/gdi.h"
#include "shell/scroll_control.h"
#include "shell/shell_state.h"
#include "shell/text_render.h"
#include "shell/utf.h"

namespace quilla {

namespace {

constexpr int kHelpTopic = 78;

// One run of the dialog.
struct PreviewRun {
  std::span<ContactItem> items;
  std::span<const std::string> names;
  BoxSize sheet;
  size_t selected = 0;
  ScrollControl globalResize;
  // The drag under way: what the press took hold of, where, and the box as it was then.
  BoxGrip grip = BoxGrip::None;
  POINT press{};
  ContactItem pressed;
  MouseCapture capture;
};
PreviewRun* run = nullptr;

HWND Area(HWND dialog) { return GetDlgItem(dialog, IDC_CP_AREA); }

BoxSize AreaSize(HWND dialog) {
  RECT r{};
  GetClientRect(Area(dialog), &r);
  return {int(r.right), int(r.bottom)};
}

ImageRect ToPreview(HWND dialog, const ImageRect& rect) {
  const BoxSize area = AreaSize(dialog);
  return {SheetToPreview(rect.left, run->sheet.width, area.width),
          SheetToPreview(rect.top, run->sheet.height, area.height),
          SheetToPreview(rect.right, run->sheet.width, area.width),
          SheetToPreview(rect.bottom, run->sheet.height, area.height)};
}

ImageRect BoxOf(const ContactItem& item) { return {item.left, item.top, item.right, item.bottom}; }

// The colours the outlines show in on the white ground (the 16-colour display has fewer).
struct OutlineColours {
  COLORREF selected, other, wideLabel, label;
};
OutlineColours Colours() {
  if (Options().GetDisplayMode() == DisplayMode::SixteenColor)
    return {RGB(0, 255, 255), RGB(255, 255, 0), RGB(255, 0, 255), RGB(255, 255, 0)};
  return {RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0), RGB(0, 0, 255)};
}

// An outline in exclusive-or: a pen of the inverted colour shows the colour on white.
class XorPen {
 public:
  XorPen(HDC dc, COLORREF colour)
      : dc_(dc), pen_(CreatePen(PS_SOLID, 1, colour ^ 0xFFFFFF)), selected_(dc, pen_.Get()),
        mode_(SetROP2(dc, R2_XORPEN)) {}
  ~XorPen() { SetROP2(dc_, mode_); }
  XorPen(const XorPen&) = delete;
  XorPen& operator=(const XorPen&) = delete;

 private:
  HDC dc_;
  GdiObject<HPEN> pen_;
  SelectedObject selected_;
  int mode_;
};

// The label's outline hangs from the box's bottom edge, which the box outline draws
// already: its sides and bottom only, so that the shared line is not drawn out again.
void DrawItem(HWND dialog, HDC dc, size_t index) {
  const ContactItem& item = run->items[index];
  const OutlineColours colours = Colours();
  const ImageRect box = ToPreview(dialog, BoxOf(item));
  {
    XorPen pen(dc, index == run->selected ? colours.selected : colours.other);
    SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, box.left, box.top, box.right + 1, box.bottom + 1);
  }
  const LabelOutline label = PreviewLabelOutline(item, Options().Style(TextStyleGroup::Contact).alignment);
  const ImageRect shown = ToPreview(dialog, label.rect);
  if (shown.bottom <= shown.top) return;
  XorPen pen(dc, label.widerThanBox ? colours.wideLabel : colours.label);
  const POINT sides[] = {{shown.left, shown.top + 1},
                         {shown.left, shown.bottom},
                         {shown.right, shown.bottom},
                         {shown.right, shown.top}};
  Polyline(dc, sides, 4);
}

// Outlines drawn straight onto the area, outside its paint; the area's DC may be its
// dialog's, so the drawing is held to the area.
void DrawItemNow(HWND dialog, size_t index) {
  WindowDC dc(Area(dialog));
  const BoxSize area = AreaSize(dialog);
  IntersectClipRect(dc, 0, 0, area.width, area.height);
  DrawItem(dialog, dc, index);
}

void PaintArea(HWND dialog, const DRAWITEMSTRUCT& paint) {
  FillRect(paint.hDC, &paint.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const BoxSize area = AreaSize(dialog);
  IntersectClipRect(paint.hDC, 0, 0, area.width, area.height);
  for (size_t i = 0; i < run->items.size(); ++i) DrawItem(dialog, paint.hDC, i);
}

const char* FormatName(int fileType) {
  switch (fileType) {
    case kWindowsBmp:
    case kOs2Bmp: return "BMP";
    case kGif87a:
    case kGif89a: return "GIF";
    case kJpegFile: return "JPEG";
    case kTargaFile: return "Targa";
    case kPcxFile: return "PCX";
    case kPnmFile: return "PPM";
    case kTiffFile:
    case kTiffCompressed: return "TIFF";
    default: return "";
  }
}

void ShowFields(HWND dialog) {
  const ContactItem& item = run->items[run->selected];
  char text[80];
  SetControlText(dialog, IDC_CP_NAME, ShownName(run->names[run->selected].c_str()));
  std::snprintf(text, sizeof text, "%dx%d", item.imageWidth, item.imageHeight);
  SetControlText(dialog, IDC_CP_SIZE, text);
  SetControlText(dialog, IDC_CP_FORMAT, FormatName(item.fileType));
  std::snprintf(text, sizeof text, "(%d,%d) (%d,%d)", item.left, item.top, item.BoxWidth(), item.BoxHeight());
  SetControlText(dialog, IDC_CP_BOX, text);
}

void StartGlobalResize(HWND dialog) {
  run->globalResize = ScrollControl(dialog, IDC_CP_RESIZE, IDC_CP_RESIZE_VALUE, kGlobalResizeMin, kGlobalResizeMax,
                                    kGlobalResizePage, kGlobalResizeStart);
}

void Fill(HWND dialog, LPARAM) {
  char title[80];
  std::snprintf(title, sizeof title, "Contact sheet preview (%dx%d)", run->sheet.width, run->sheet.height);
  SetWindowTextW(dialog, Widen(title).c_str());
  StartGlobalResize(dialog);
  ShowFields(dialog);
}

// A point of the dialog's client area in the preview area's pixels; false outside it.
bool InArea(HWND dialog, POINT& p) {
  MapWindowPoints(dialog, Area(dialog), &p, 1);
  const BoxSize area = AreaSize(dialog);
  return p.x >= 0 && p.y >= 0 && p.x < area.width && p.y < area.height;
}

HCURSOR CursorFor(BoxGrip grip) {
  switch (grip) {
    case BoxGrip::Top:
    case BoxGrip::Bottom: return LoadCursorW(nullptr, IDC_SIZENS);
    case BoxGrip::Left:
    case BoxGrip::Right: return LoadCursorW(nullptr, IDC_SIZEWE);
    default: return LoadCursorW(nullptr, IDC_ARROW);
  }
}

BoxGrip GripOfSelected(HWND dialog, POINT p) {
  return GripAt(ToPreview(dialog, BoxOf(run->items[run->selected])), p.x, p.y);
}

void Select(HWND dialog, size_t index) {
  const size_t old = run->selected;
  DrawItemNow(dialog, old);
  DrawItemNow(dialog, index);
  run->selected = index;
  DrawItemNow(dialog, old);
  DrawItemNow(dialog, index);
  ShowFields(dialog);
}

void OnPress(HWND dialog, POINT p) {
  if (!InArea(dialog, p)) return;
  BoxGrip grip = GripOfSelected(dialog, p);
  for (size_t i = 0; grip == BoxGrip::None && i < run->items.size(); ++i) {
    if (GripAt(ToPreview(dialog, BoxOf(run->items[i])), p.x, p.y) == BoxGrip::None) continue;
    Select(dialog, i);
    grip = BoxGrip::Move;
  }
  if (grip == BoxGrip::None) return;
  run->grip = grip;
  run->press = p;
  run->pressed = run->items[run->selected];
  run->capture.Take(dialog);
  SetCursor(CursorFor(grip));
}

void OnDrag(HWND dialog, POINT p) {
  MapWindowPoints(dialog, Area(dialog), &p, 1);
  const BoxSize area = AreaSize(dialog);
  const int sheetX = PreviewToSheet(p.x, run->sheet.width, area.width);
  const int sheetY = PreviewToSheet(p.y, run->sheet.height, area.height);
  ContactItem& item = run->items[run->selected];
  DrawItemNow(dialog, run->selected);
  switch (run->grip) {
    case BoxGrip::Move:
      item = run->pressed;
      MoveBox(item, sheetX - PreviewToSheet(run->press.x, run->sheet.width, area.width),
              sheetY - PreviewToSheet(run->press.y, run->sheet.height, area.height));
      break;
    case BoxGrip::Left:
    case BoxGrip::Right: ResizeBox(item, run->grip, sheetX); break;
    default: ResizeBox(item, run->grip, sheetY); break;
  }
  DrawItemNow(dialog, run->selected);
  ShowFields(dialog);
}

void EndDrag() {
  run->grip = BoxGrip::None;
  run->capture.Release();
}

// Over the area the cursor tells what a press would do to the selected box.
bool OnSetCursor(HWND dialog) {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(dialog, &p);
  if (!InArea(dialog, p)) return false;
  SetCursor(CursorFor(GripOfSelected(dialog, p)));
  return true;
}

void OnGlobalResize(HWND dialog, int code, int thumb) {
  if (!run->globalResize.OnScroll(code, thumb)) return;
  ScaleAllBoxes(run->items, run->globalResize.Value());
  StartGlobalResize(dialog);
  InvalidateRect(Area(dialog), nullptr, FALSE);
  ShowFields(dialog);
}

void Reset(HWND dialog) {
  const GdiObject<HFONT> font = MakeFont(Options().Style(TextStyleGroup::Contact));
  if (!font) {
    ShowNoMemory(dialog);
    return;
  }
  LayoutContactSheet(run->items, run->names, font.Get(), run->sheet);
  InvalidateRect(Area(dialog), nullptr, FALSE);
  ShowFields(dialog);
}

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

INT_PTR CALLBACK CPreviewDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Large, kHelpTopic, Fill, nullptr, nullptr};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_DRAWITEM:
      if (wParam != IDC_CP_AREA) return FALSE;
      PaintArea(dialog, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_LBUTTONDOWN: OnPress(dialog, PointOf(lParam)); return TRUE;
    case WM_MOUSEMOVE:
      if (run->grip != BoxGrip::None) OnDrag(dialog, PointOf(lParam));
      return TRUE;
    case WM_LBUTTONUP: EndDrag(); return TRUE;
    case WM_CAPTURECHANGED:
      run->grip = BoxGrip::None;
      run->capture.Lost();
      return TRUE;
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT || !OnSetCursor(dialog)) return FALSE;
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == run->globalResize.Bar())
        OnGlobalResize(dialog, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_CP_RESET) return FALSE;
      Reset(dialog);
      return TRUE;
  }
  return FALSE;
}

bool PreviewContactSheet(std::span<ContactItem> items, std::span<const std::string> names, BoxSize sheet) {
  if (items.empty() || names.size() < items.size()) return false;
  PreviewRun state;
  state.items = items;
  state.names = names;
  state.sheet = sheet;
  run = &state;
  const INT_PTR answer = DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_CONTACT_PREVIEW), shell.mainWindow,
                                         CPreviewDlgProc, 0);
  run = nullptr;
  return answer == IDOK;
}

}  // namespace quilla
