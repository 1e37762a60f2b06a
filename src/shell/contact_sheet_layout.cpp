// The contact sheet's layout: the labels are measured in their font on the main window's
// screen, and the rules place the boxes.
#include <vector>

#include "app/file_session.h"
#include "shell/contact_sheet.h"
#include "shell/gdi.h"
#include "shell/shell_state.h"
#include "shell/utf.h"

namespace quilla {

void LayoutContactSheet(std::span<ContactItem> items, std::span<const std::string> names, HFONT font, BoxSize sheet) {
  std::vector<BoxSize> labels(items.size());
  {
    WindowDC screen(shell.mainWindow);
    SelectedObject selected(screen, font);
    for (size_t i = 0; i < items.size() && i < names.size(); ++i) {
      const std::wstring title = Widen(FileTitle(names[i]));
      SIZE extent{};
      GetTextExtentPoint32W(screen, title.c_str(), int(title.size()), &extent);
      labels[i] = {int(extent.cx), int(extent.cy)};
    }
  }
  LayoutContactItems(items, labels, sheet);
}

}  // namespace quilla
