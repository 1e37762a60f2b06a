// Interactive RGB (IRGBDlgProc): one transfer curve per channel, computed from a user function
// or drawn on the graph with the mouse. Exec applies the three curves to the image as it was
// when the dialog opened; OK keeps the result with one undo step, Cancel puts the image back.
// The function list, selections and use flags stay as left either way.
#include <array>

#include "core/messages.h"
#include "resources/resource_ids.h"
#include "resources/retouch_dialog_ids.h"
#include "retouch/colour_retouch.h"
#include "retouch/curve_drawing.h"
#include "retouch/function_curve.h"
#include "retouch/transfer_curves.h"
#include "settings/app_options.h"
#include "settings/settings_store.h"
#include "shell/dialog_support.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/function_dialog.h"
#include "shell/gdi.h"
#include "shell/retouch_dialog.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/utf.h"

namespace quilla {

namespace {

constexpr wchar_t kGraphClass[] = L"" CURVE_GRAPH_CLASS;
constexpr int kHelpTopic = 75;

struct Run {
  Run(ColourRetouch& retouch, TransferTables& curves, UserFunctionList& functions)
      : retouch(retouch), curves(curves), functions(functions) {}

  ColourRetouch& retouch;
  TransferTables& curves;       // the shared tables: they persist after the dialog
  UserFunctionList& functions;  // the current options: kept after OK and Cancel alike
  HWND dialog = nullptr;
  int channel = 0;  // being edited: 0 red, 1 green, 2 blue
  CurveOrdering ordering = CurveOrdering::None;
  MouseCapture capture;

  TransferTable& Curve() { return ChannelCurve(curves, channel); }
  int& Selected() { return functions.selected[size_t(channel)]; }
  int& Use() { return functions.use[size_t(channel)]; }
  HWND Graph() const { return GetDlgItem(dialog, IDC_IRGB_GRAPH); }
};
Run* current = nullptr;  // the dialog is modal: one run at a time

bool Locked() { return Options().LockRGBGamma() != 0; }

// With the lock on, the other channels follow the current one: curve, function and flag.
void CurveChanged(Run& run) {
  if (Locked()) {
    for (int other = 0; other < 3; ++other) {
      ChannelCurve(run.curves, other) = run.Curve();
      run.functions.selected[size_t(other)] = run.Selected();
      run.functions.use[size_t(other)] = run.Use();
    }
  }
  InvalidateRect(run.Graph(), nullptr, TRUE);
}

// The function controls serve only a channel that uses its function.
void ShowFunctionControls(Run& run) {
  const bool use = run.Use() != 0;
  SetChecked(run.dialog, IDC_IRGB_USE_FUNCTIONS, use);
  for (int id : {IDC_IRGB_SELECT_LABEL, IDC_IRGB_FUNCTIONS, IDC_IRGB_EDIT_FUNCTION}) EnableControl(run.dialog, id, use);
}

void ShowChannel(Run& run) {
  SendDlgItemMessageW(run.dialog, IDC_IRGB_FUNCTIONS, LB_SETCURSEL, WPARAM(run.Selected()), 0);
  ShowFunctionControls(run);
  InvalidateRect(run.Graph(), nullptr, TRUE);
}

void ComputeCurrentCurve(Run& run) {
  std::string text = run.functions.slots[size_t(run.Selected())].text;
  ShowCurveFailure(run.dialog, ComputeFunctionCurve(text, run.Curve()));
  CurveChanged(run);
}

// A point drawn, or an ordering chosen: the curve no longer follows its function.
void CurveDrawn(Run& run) {
  run.Use() = 0;
  ShowFunctionControls(run);
  CurveChanged(run);
}

void EditSelectedFunction(Run& run) {
  const int slot = run.Selected();
  std::string text = run.functions.slots[size_t(slot)].text;
  if (!EditFunctionDefinition(run.dialog, text)) return;
  run.functions.slots[size_t(slot)].text = text;
  HWND list = GetDlgItem(run.dialog, IDC_IRGB_FUNCTIONS);
  SendMessageW(list, LB_DELETESTRING, WPARAM(slot), 0);
  SendMessageW(list, LB_INSERTSTRING, WPARAM(slot), reinterpret_cast<LPARAM>(Widen(text).c_str()));
  SendMessageW(list, LB_SETCURSEL, WPARAM(slot), 0);
  ComputeCurrentCurve(run);
}

void OnCommand(Run& run, int id, int code) {
  if (id == IDC_IRGB_FUNCTIONS) {
    const LRESULT selected = SendDlgItemMessageW(run.dialog, id, LB_GETCURSEL, 0, 0);
    if (code != LBN_SELCHANGE || selected == LB_ERR) return;
    run.Selected() = int(selected);
    ComputeCurrentCurve(run);
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_IRGB_NONE:
    case IDC_IRGB_INCREASING:
    case IDC_IRGB_DECREASING:
      run.ordering = CurveOrdering(id - IDC_IRGB_NONE);
      if (run.ordering == CurveOrdering::None) return;
      ApplyCurveOrdering(run.Curve(), run.ordering);
      CurveDrawn(run);
      return;
    case IDC_IRGB_RED:
    case IDC_IRGB_GREEN:
    case IDC_IRGB_BLUE:
      run.channel = id - IDC_IRGB_RED;
      ShowChannel(run);
      return;
    case IDC_IRGB_LOCK:
      Options().SetLockRGBGamma(IsChecked(run.dialog, id));
      CurveChanged(run);
      return;
    case IDC_IRGB_USE_FUNCTIONS:
      run.Use() = IsChecked(run.dialog, id);
      ShowFunctionControls(run);
      if (run.Use()) {
        ComputeCurrentCurve(run);
      } else {
        CurveChanged(run);
      }
      return;
    case IDC_IRGB_EDIT_FUNCTION: EditSelectedFunction(run); return;
    case IDC_IRGB_EXEC:
      run.retouch.ApplyCurves(run.curves);
      Repaint(false);
      return;
    case IDC_IRGB_SAVE:
      if (AskYesNo("Save current function definitions?") == MsgResult::Yes) SaveFunctions();
      return;
  }
}

void Fill(HWND dialog, LPARAM init) {
  current = reinterpret_cast<Run*>(init);
  Run& run = *current;
  run.dialog = dialog;
  HWND list = GetDlgItem(dialog, IDC_IRGB_FUNCTIONS);
  for (int slot = 0; slot < run.functions.count; ++slot)
    SendMessageW(list, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Widen(run.functions.slots[size_t(slot)].text).c_str()));
  CheckRadioButton(dialog, IDC_IRGB_NONE, IDC_IRGB_DECREASING, IDC_IRGB_NONE);
  CheckRadioButton(dialog, IDC_IRGB_RED, IDC_IRGB_BLUE, IDC_IRGB_RED);
  SetChecked(dialog, IDC_IRGB_LOCK, Locked());
  ShowChannel(run);
}

// Between the graph's client area and the curve: x and y both 0..255, y upwards.
class GraphScale {
 public:
  explicit GraphScale(HWND graph) {
    RECT client{};
    GetClientRect(graph, &client);
    right_ = client.right - 1, bottom_ = client.bottom - 1;
  }
  POINT At(int x, int y) const { return {MulDiv(x, right_, 255), bottom_ - MulDiv(y, bottom_, 255)}; }
  // The curve point under a client position; false outside the graph.
  bool PointAt(int px, int py, int& x, int& y) const {
    if (right_ <= 0 || bottom_ <= 0 || px < 0 || py < 0 || px > right_ || py > bottom_) return false;
    x = MulDiv(px, 255, right_), y = 255 - MulDiv(py, 255, bottom_);
    return true;
  }

 private:
  int right_ = 0, bottom_ = 0;
};

// XORed onto the white graph, the complement shows in the channel's own colour; a 16-colour
// display has only the pure colours to offer.
COLORREF CurvePenColour(int channel) {
  static const COLORREF kComplements[3] = {RGB(0, 255, 255), RGB(255, 0, 255), RGB(255, 255, 0)};
  static const COLORREF kSixteen[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  const bool sixteen = Options().GetDisplayMode() == DisplayMode::SixteenColor;
  return (sixteen ? kSixteen : kComplements)[channel];
}

// The current curve as a polyline through every even x and the last entry.
void PaintGraph(HWND graph) {
  WindowPaint paint(graph);
  if (!current) return;
  const GraphScale scale(graph);
  const TransferTable& curve = current->Curve();
  std::array<POINT, 129> points{};
  for (size_t i = 0; i + 1 < points.size(); ++i) points[i] = scale.At(int(2 * i), curve[2 * i]);
  points.back() = scale.At(255, curve[255]);
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, CurvePenColour(current->channel)));
  SelectedObject selected(paint, pen.Get());
  SetROP2(paint, R2_XORPEN);
  Polyline(paint, points.data(), int(points.size()));
}

// A point drawn where the mouse is; leaving the graph ends the stroke.
void DrawAt(Run& run, HWND graph, LPARAM position) {
  int x = 0, y = 0;
  if (!GraphScale(graph).PointAt(short(LOWORD(position)), short(HIWORD(position)), x, y)) {
    run.capture.Release();
    return;
  }
  DrawCurvePoint(run.Curve(), x, y, run.ordering);
  CurveDrawn(run);
}

LRESULT CALLBACK GraphProc(HWND graph, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: PaintGraph(graph); return 0;
    case WM_LBUTTONDOWN:
      if (current) {
        current->capture.Take(graph);
        DrawAt(*current, graph, lParam);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (current && current->capture.Held()) DrawAt(*current, graph, lParam);
      return 0;
    case WM_LBUTTONUP:
      if (current) current->capture.Release();
      return 0;
    case WM_CAPTURECHANGED:
      if (current) current->capture.Lost();
      return 0;
  }
  return DefWindowProcW(graph, message, wParam, lParam);
}

// The dialog template names the graph's class, so it is there before the first dialog.
bool RegisterGraphClass() {
  static const ATOM atom = [] {
    WNDCLASSW graphClass{};
    graphClass.lpfnWndProc = GraphProc;
    graphClass.hInstance = shell.instance;
    graphClass.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    graphClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    graphClass.lpszClassName = kGraphClass;
    return RegisterClassW(&graphClass);
  }();
  return atom != 0;
}

}  // namespace

INT_PTR CALLBACK IRGBDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Large, kHelpTopic, Fill, nullptr, nullptr};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  if (message != WM_COMMAND || !current) return FALSE;
  OnCommand(*current, LOWORD(wParam), HIWORD(wParam));
  return TRUE;
}

void ShowInteractiveRgb() {
  DIBImage& document = shell.mainDocument;
  if (!document.IsOperable() || !DropSelection(1)) return;
  ColourRetouch retouch(document);
  if (!retouch || !RegisterGraphClass()) {
    ShowNoMemory();
    return;
  }
  // Changes kept only in memory by an earlier run are dropped: the settings file rules.
  LoadFunctions();
  UserFunctionList& functions = Options().Functions();
  if (Locked()) {
    functions.selected.fill(functions.selected[0]);
    functions.use.fill(functions.use[0]);
  }
  TransferTables& curves = SharedTransferTables();
  for (int channel = 0; channel < 3; ++channel)
    if (!functions.use[size_t(channel)]) ChannelCurve(curves, channel) = IdentityCurve();
  ShowCurveFailure(shell.mainWindow, ComputeChannelCurves(functions, curves));

  Run run(retouch, curves, functions);
  RunRetouchDialog(retouch, IDD_INTERACTIVE_RGB, IRGBDlgProc, reinterpret_cast<LPARAM>(&run));
  current = nullptr;
}

}  // namespace quilla
