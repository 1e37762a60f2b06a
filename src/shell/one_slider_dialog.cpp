// The single-slider retouch dialog (ContrastDlgProc) of Contrast, Exp, Log and SineH
// Enhancement: every completed slider change is applied at once, from the image as it was
// when the dialog opened; OK keeps the result with one undo step, Cancel puts the image back.
#include <iterator>

#include "core/messages.h"
#include "resources/resource_ids.h"
#include "resources/retouch_dialog_ids.h"
#include "retouch/colour_retouch.h"
#include "shell/dialog_support.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/scroll_control.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {

struct SliderKind {
  RetouchOp op;
  const wchar_t* title;
  const wchar_t* label;
  int minimum, maximum, page;
  int helpTopic;
};

constexpr SliderKind kKinds[] = {
    {RetouchOp::ContrastEnhance, L"Contrast Enhancement", L"C", -64, 64, 4, 43},
    {RetouchOp::ExpEnhance, L"Exp Enhancement", L"E", 0, 5, 2, 47},
    {RetouchOp::LogEnhance, L"Log Enhancement", L"L", 0, 200, 10, 51},
    {RetouchOp::SineHEnhance, L"SineH Enhancement", L"S", 0, 99, 5, 50},
};

struct Run {
  const SliderKind* kind;
  ColourRetouch* retouch;
  ScrollControl slider;
};
Run* current = nullptr;  // the dialog is modal: one run at a time

void Fill(HWND dialog, LPARAM init) {
  current = reinterpret_cast<Run*>(init);
  SetWindowTextW(dialog, current->kind->title);
  SetDlgItemTextW(dialog, IDC_RT_LABEL, current->kind->label);
  current->slider = ScrollControl(dialog, IDC_RT_SLIDER, IDC_RT_VALUE, current->kind->minimum,
                                  current->kind->maximum, current->kind->page, 0);
}

}  // namespace

INT_PTR CALLBACK ContrastDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  // One pattern a kind, for its help topic.
  static const DialogPattern patterns[] = {
      {DialogKind::Small, kKinds[0].helpTopic, Fill, nullptr, nullptr},
      {DialogKind::Small, kKinds[1].helpTopic, Fill, nullptr, nullptr},
      {DialogKind::Small, kKinds[2].helpTopic, Fill, nullptr, nullptr},
      {DialogKind::Small, kKinds[3].helpTopic, Fill, nullptr, nullptr},
  };
  static_assert(std::size(patterns) == std::size(kKinds));
  const Run* run = message == WM_INITDIALOG ? reinterpret_cast<Run*>(lParam) : current;
  if (!run) return FALSE;
  INT_PTR result = FALSE;
  if (HandleDialogPattern(patterns[run->kind - kKinds], dialog, message, wParam, lParam, result)) return result;
  if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == current->slider.Bar()) {
    // The thumb position is a signed 16-bit number for the negative contrasts.
    if (current->slider.OnScroll(LOWORD(wParam), short(HIWORD(wParam)))) {
      current->retouch->Apply(current->kind->op, {current->slider.Value(), 0, 0});
      Repaint(false);
    }
    return TRUE;
  }
  return FALSE;
}

void ShowOneSliderRetouch(RetouchOp op) {
  DIBImage& document = shell.mainDocument;
  if (!document.IsOperable() || !DropSelection(1)) return;
  size_t index = 0;
  while (index + 1 < std::size(kKinds) && kKinds[index].op != op) ++index;
  ColourRetouch retouch(document);
  if (!retouch) {
    ShowNoMemory();
    return;
  }
  Run run{&kKinds[index], &retouch, {}};
  const INT_PTR answer = DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_ONE_SLIDER), shell.mainWindow,
                                         ContrastDlgProc, reinterpret_cast<LPARAM>(&run));
  current = nullptr;
  if (answer == IDOK) {
    retouch.Ok();
  } else {
    retouch.Cancel();
  }
  shell.iconDocument.FreeImage();
  Repaint(false);
}

}  // namespace quilla
