#include "shell/retouch_dialog.h"

#include "core/messages.h"
#include "shell/dialog_support.h"
#include "shell/display.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {

const RetouchDialogRun* current = nullptr;

// The picture is redrawn and the minimised icon made again from it.
void ShowRetouched() {
  shell.iconDocument.FreeImage();
  Repaint(false);
}

}  // namespace

const RetouchDialogRun* CurrentRetouchDialog() { return current; }

void ShowRetouchDialog(const RetouchDialogKind* kinds, size_t count, RetouchOp op, DLGPROC procedure) {
  size_t index = 0;
  while (index + 1 < count && kinds[index].op != op) ++index;
  const RetouchDialogKind& kind = kinds[index];
  DIBImage& document = shell.mainDocument;
  if (!document.IsOperable() || !DropSelection(1)) return;
  ColourRetouch retouch(document);
  if (!retouch) {
    ShowNoMemory();
    return;
  }
  const RetouchDialogRun run{kind, retouch, !document.IsTrueColor()};
  current = &run;
  RunRetouchDialog(retouch, kind.templateId, procedure, 0);
  current = nullptr;
}

void RunRetouchDialog(ColourRetouch& retouch, int templateId, DLGPROC procedure, LPARAM init) {
  const INT_PTR answer =
      DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(templateId), shell.mainWindow, procedure, init);
  if (answer == IDOK) {
    retouch.Ok();
  } else {
    retouch.Cancel();
  }
  ShowRetouched();
}

bool HandleRetouchDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, void (*fill)(HWND dialog),
                         bool (*keep)(HWND dialog), INT_PTR& result) {
  if (!current) return false;
  const DialogPattern pattern{DialogKind::Small, current->kind.helpTopic, nullptr, keep, nullptr};
  if (!HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return false;
  if (message == WM_INITDIALOG) {
    SetWindowTextW(dialog, current->kind.title);
    fill(dialog);
  }
  return true;
}

ScrollControl RetouchSlider(HWND dialog, size_t index, int labelId, int barId, int readoutId) {
  const RetouchOpInfo& info = RetouchOpInfoOf(int(current->kind.op));
  SetDlgItemTextW(dialog, labelId, current->kind.labels[index]);
  return ScrollControl(dialog, barId, readoutId, info.minimum[index], info.maximum[index], current->kind.page, 0);
}

void ApplyRetouch(const std::array<int, 3>& parameters) {
  if (!current) return;
  current->retouch.Apply(current->kind.op, parameters);
  ShowRetouched();
}

}  // namespace quilla
