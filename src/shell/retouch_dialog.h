// What the colour retouch dialogs share. Each runs modally over a ColourRetouch of the main
// document and applies its sliders' values from the image as it was when it opened; OK keeps
// the result with one undo step, any other end puts the image back.
#pragma once
#include <windows.h>

#include <array>
#include <cstddef>

#include "retouch/colour_retouch.h"
#include "settings/list_records.h"
#include "shell/scroll_control.h"

namespace quilla {

// One kind of retouch dialog. The sliders are the operation's parameters, with its ranges.
struct RetouchDialogKind {
  RetouchOp op;
  int templateId;
  const wchar_t* title;
  std::array<const wchar_t*, 3> labels;  // one a slider
  int page;
  int helpTopic;
};

// The retouch dialog that is up; they are modal, so there is one at a time.
struct RetouchDialogRun {
  const RetouchDialogKind& kind;
  ColourRetouch& retouch;
  bool palette;  // only the colour table changes, so every change can show at once
};
const RetouchDialogRun* CurrentRetouchDialog();

// The dialog of the kind in kinds[0..count) with the operation (the first when none has it) on
// the main document: nothing without an image, "Not enough memory !" when the image as it was
// can't be kept.
void ShowRetouchDialog(const RetouchDialogKind* kinds, size_t count, RetouchOp op, DLGPROC procedure);

// The messages every retouch dialog handles alike: placement, colouring, OK (after keep, when
// given, which may refuse), Cancel, the close box and Help. At initialisation the kind's title
// is set and fill runs. True when the message was handled, with the answer in result.
bool HandleRetouchDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, void (*fill)(HWND dialog),
                         bool (*keep)(HWND dialog), INT_PTR& result);

// The slider of the current kind's parameter `index`, labelled, at 0.
ScrollControl RetouchSlider(HWND dialog, size_t index, int labelId, int barId, int readoutId);

// The current dialog's operation with these parameters, from the image as it was, shown.
void ApplyRetouch(const std::array<int, 3>& parameters);

// 174, 181, 179, 180: Gamma Correction, Color Balance, HSV or YCbCr Adjustment.
void ShowThreeSliderRetouch(RetouchOp op);
INT_PTR CALLBACK CBalDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quilla
