#include "shell/font_choice.h"

#include <cstdlib>

#include "shell/dialog_support.h"
#include "shell/gdi.h"
#include "shell/text_rules.h"
#include "shell/utf.h"

namespace quilla {

namespace {

int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM list) {
  const HWND combo = reinterpret_cast<HWND>(list);
  if (SendMessageW(combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(font->lfFaceName)) == CB_ERR)
    SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(font->lfFaceName));
  return 1;
}

// Every font family of the screen, sorted by the list; the face given selected, else the first.
void FillFaceList(HWND dialog, int list, const std::string& face) {
  const HWND combo = GetDlgItem(dialog, list);
  WindowDC screen(nullptr);
  EnumFontFamiliesW(screen, nullptr, AddFamily, LPARAM(combo));
  const LRESULT found = SendMessageW(combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(Widen(face).c_str()));
  SendMessageW(combo, CB_SETCURSEL, found == CB_ERR ? 0 : WPARAM(found), 0);
}

// The point sizes the text drawing takes, the entry for points selected.
void FillPointList(HWND dialog, int list, int points) {
  for (int p = kMinPoints; p <= kMaxPoints; ++p)
    SendDlgItemMessageW(dialog, list, CB_ADDSTRING, 0, LPARAM(std::to_wstring(p).c_str()));
  SendDlgItemMessageW(dialog, list, CB_SETCURSEL, WPARAM(PointListIndex(points)), 0);
}

// The text of the list's selected entry; empty without one.
std::string SelectedEntry(HWND dialog, int list) {
  const LRESULT index = SendDlgItemMessageW(dialog, list, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return {};
  std::wstring text(size_t(SendDlgItemMessageW(dialog, list, CB_GETLBTEXTLEN, WPARAM(index), 0)) + 1, L'\0');
  text.resize(size_t(SendDlgItemMessageW(dialog, list, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()))));
  return Narrow(text);
}
}  // namespace

void ShowFontChoice(HWND dialog, const FontControls& ids, const TextStyle& style) {
  SetChecked(dialog, ids.bold, style.bold);
  SetChecked(dialog, ids.italic, style.italic);
  SetChecked(dialog, ids.underline, style.underline);
  SetChecked(dialog, ids.strikeout, style.strikeout);
  FillFaceList(dialog, ids.face, style.face);
  FillPointList(dialog, ids.points, style.points);
}

void ReadFontChoice(HWND dialog, const FontControls& ids, TextStyle& style) {
  style.face = SelectedEntry(dialog, ids.face).substr(0, kMaxFaceName);
  style.points = std::atoi(SelectedEntry(dialog, ids.points).c_str());
  style.bold = IsChecked(dialog, ids.bold);
  style.italic = IsChecked(dialog, ids.italic);
  style.underline = IsChecked(dialog, ids.underline);
  style.strikeout = IsChecked(dialog, ids.strikeout);
}

}  // namespace quilla
