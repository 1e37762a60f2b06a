#include "shell/window_title.h"

#include <windows.h>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/version.h"
#include "app/file_session.h"
#include "shell/layout_rules.h"
#include "shell/shell_state.h"
#include "shell/utf.h"

namespace quilla {

void UpdateTitle() {
  const DIBImage& document = shell.mainDocument;
  const std::string title = ImageTitle(CurrentFileTitle(), document.IsOperable(), document.Width(),
                                       document.Height(), document.ColorCount(), kProgramTitle);
  // Every paint asks for the title; the caption is redrawn only when it changes.
  wchar_t current[1024] = L"";
  if (shell.mainWindow) GetWindowTextW(shell.mainWindow, current, 1024);
  if (Narrow(current) != title) CurrentHost().SetWindowTitle(title);
}

void SetUntitled() { CurrentFileSession().currentName = kUntitled; }

void ShowSelectionInTitle(int left, int top, int right, int bottom) {
  CurrentHost().SetWindowTitle(SelectionTitle(left, top, right, bottom));
}

}  // namespace quilla
