// Multiple File Open (MultOpenDlgProc, command 190): the files, sub-directories and drives of
// the current directory on the left, the names chosen on the right, a preview of the entry
// last clicked, and OK handing the right list to the file queue for the destination chosen.
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/file_queue.h"
#include "core/commands.h"
#include "core/dib_image.h"
#include "core/messages.h"
#include "formats/file_system.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "resources/multiple_open_dialog_ids.h"
#include "resources/resource_ids.h"
#include "settings/app_options.h"
#include "settings/file_replace.h"
#include "shell/contact_sheet.h"
#include "shell/dialog_support.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/file_dialogs.h"
#include "shell/gdi.h"
#include "shell/multiple_open_rules.h"
#include "shell/printing.h"
#include "shell/shell_state.h"
#include "shell/slideshow_dialog.h"
#include "shell/utf.h"

namespace quilla {

namespace {
constexpr int kHelpContext = 71;
constexpr int kChosenExtent = 300;  // the right list scrolls sideways over this many pixels
constexpr int kDestinationButtons[] = {IDC_MO_SLIDESHOW, IDC_MO_CONTACT_SHEET, IDC_MO_COMPRESSION, IDC_MO_PRINTER};
constexpr FileFilter kListFilters[] = {{"text files (*.txt)", "*.txt"}};
constexpr char kListExtensions[1][5] = {".txt"};

// What lives as long as the dialog: the preview picture with its palette, and the state of
// "Previe&w" as the dialog leaves it. The dialog is modal: one at a time.
struct DialogState {
  DIBImage preview;
  GdiObject<HPALETTE> palette;
  bool previewOn = true;
};
DialogState* state = nullptr;

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
int EntryCount(HWND list) { return int(SendMessageW(list, LB_GETCOUNT, 0, 0)); }

std::string EntryText(HWND list, int index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(index), 0);
  if (length == LB_ERR) return {};
  std::wstring text(size_t(length) + 1, L'\0');
  const LRESULT got = SendMessageW(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : size_t(got));
  return Narrow(text);
}

// The entry under the list's caret, the one last clicked; empty when there is none.
std::string CaretEntry(HWND list) {
  const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
  return caret == LB_ERR || caret >= EntryCount(list) ? std::string() : EntryText(list, int(caret));
}

std::string CurrentDirectoryUtf8() {
  std::wstring directory(GetCurrentDirectoryW(0, nullptr), L'\0');
  directory.resize(GetCurrentDirectoryW(DWORD(directory.size()), directory.data()));
  return Narrow(directory);
}

// The common dialogs may change the current directory, which the left list shows.
class KeptDirectory {
 public:
  KeptDirectory() : directory_(Widen(CurrentDirectoryUtf8())) {}
  ~KeptDirectory() { SetCurrentDirectoryW(directory_.c_str()); }
  KeptDirectory(const KeptDirectory&) = delete;
  KeptDirectory& operator=(const KeptDirectory&) = delete;
  const std::wstring& Directory() const { return directory_; }

 private:
  std::wstring directory_;
};

void UpdateChosenButtons(HWND dialog) {
  const bool any = EntryCount(Item(dialog, IDC_MO_CHOSEN)) > 0;
  EnableControl(dialog, IDOK, any);
  EnableControl(dialog, IDC_MO_DELETE, any);
}

// Appends a name to the right list; false, after its message, when the list takes no more.
bool AddChosen(HWND dialog, const std::string& name) {
  const LRESULT at = SendDlgItemMessageW(dialog, IDC_MO_CHOSEN, LB_ADDSTRING, 0,
                                         reinterpret_cast<LPARAM>(Widen(name).c_str()));
  if (at == LB_ERRSPACE) {
    ShowNoMemory(dialog);
  } else if (at == LB_ERR) {
    ShowWarningOwned(dialog, "List box error!");
  }
  return at >= 0;
}

// The files of the current directory that match the chosen type, then its sub-directories and
// the drives; the type is remembered as "OpenType".
void FillFiles(HWND dialog) {
  const int position = ClampTypePosition(int(SendDlgItemMessageW(dialog, IDC_MO_TYPES, CB_GETCURSEL, 0, 0)));
  Options().SetOpenType(position + 1);
  HWND files = Item(dialog, IDC_MO_FILES);
  SendMessageW(files, LB_RESETCONTENT, 0, 0);
  const std::wstring pattern = Widen(kMultipleOpenTypes[position].pattern);
  SendMessageW(files, LB_DIR, DDL_READWRITE | DDL_READONLY | DDL_ARCHIVE, reinterpret_cast<LPARAM>(pattern.c_str()));
  SendMessageW(files, LB_DIR, DDL_DIRECTORY | DDL_DRIVES | DDL_EXCLUSIVE, reinterpret_cast<LPARAM>(L"*.*"));
  SetControlText(dialog, IDC_MO_PATH, ListedName(CurrentDirectoryUtf8(), kMultipleOpenTypes[position].pattern));
}

// A double click in the left list: into a directory or drive, or a file to the right list.
void OpenEntry(HWND dialog) {
  const std::string entry = CaretEntry(Item(dialog, IDC_MO_FILES));
  if (entry.empty()) return;
  if (!IsFolderEntry(entry)) {
    AddChosen(dialog, ListedName(CurrentDirectoryUtf8(), entry));
    UpdateChosenButtons(dialog);
    return;
  }
  const std::string directory = DirectoryOfEntry(entry);
  if (int error = ChangeDirectoryUtf8(directory)) {
    ShowWarningOwned(dialog, "WIN32 (%ld): Failed to change directory to '%s'", long(error), directory.c_str());
  }
  FillFiles(dialog);
}

// "&Add -->" with the selected entries or "Add a&ll -->"; directories and drives stay.
void AddEntries(HWND dialog, bool all) {
  HWND files = Item(dialog, IDC_MO_FILES);
  const std::string directory = CurrentDirectoryUtf8();
  const int count = EntryCount(files);
  for (int i = 0; i < count; ++i) {
    if (!all && SendMessageW(files, LB_GETSEL, WPARAM(i), 0) <= 0) continue;
    const std::string entry = EntryText(files, i);
    if (!IsFolderEntry(entry) && !AddChosen(dialog, ListedName(directory, entry))) break;
  }
  UpdateChosenButtons(dialog);
}

void RemoveSelected(HWND dialog) {
  HWND chosen = Item(dialog, IDC_MO_CHOSEN);
  for (int i = EntryCount(chosen) - 1; i >= 0; --i) {
    if (SendMessageW(chosen, LB_GETSEL, WPARAM(i), 0) > 0) SendMessageW(chosen, LB_DELETESTRING, WPARAM(i), 0);
  }
  UpdateChosenButtons(dialog);
}

void RemoveCaretEntry(HWND dialog) {
  HWND chosen = Item(dialog, IDC_MO_CHOSEN);
  const LRESULT caret = SendMessageW(chosen, LB_GETCARETINDEX, 0, 0);
  if (caret != LB_ERR) SendMessageW(chosen, LB_DELETESTRING, WPARAM(caret), 0);
  UpdateChosenButtons(dialog);
}

void RemoveAll(HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_MO_CHOSEN, LB_RESETCONTENT, 0, 0);
  UpdateChosenButtons(dialog);
}

// After a selection change in either list: the preview of the entry last clicked, sized to
// the pane's box.
void LoadPreview(HWND dialog, int listId) {
  if (!IsChecked(dialog, IDC_MO_PREVIEW_ON)) return;
  state->preview.FreeImage();
  state->palette.Reset();
  HWND pane = Item(dialog, IDC_MO_PREVIEW);
  const std::string entry = CaretEntry(Item(dialog, listId));
  if (!entry.empty() && !IsFolderEntry(entry)) {
    RECT box;
    GetClientRect(pane, &box);
    ReadImagePreview(state->preview, entry, box.right - kPreviewMargin, box.bottom - kPreviewMargin);
    if (state->preview.HasImage()) state->palette.Reset(MakePlatformPalette(state->preview.Palette()));
  }
  InvalidateRect(pane, nullptr, FALSE);
  UpdateWindow(pane);
}

// The pane: empty while previews are off, light grey around the framed picture otherwise.
void PaintPreview(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const RECT& pane = item.rcItem;
  if (!state->previewOn) {
    FillRect(dc, &pane, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  FillRect(dc, &pane, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  DIBImage& preview = state->preview;
  if (!preview.HasImage()) return;
  const PreviewPlacement p =
      PlacePreview(pane.right - pane.left, pane.bottom - pane.top, preview.Width(), preview.Height());
  const POINT corner{pane.left, pane.top};
  {
    SelectedObject pen(dc, GetStockObject(BLACK_PEN));
    SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, corner.x + p.frameLeft, corner.y + p.frameTop, corner.x + p.frameRight, corner.y + p.frameBottom);
  }
  {
    SelectedObject pen(dc, GetStockObject(WHITE_PEN));
    MoveToEx(dc, corner.x + p.lineLeft, corner.y + p.lineBottom, nullptr);
    LineTo(dc, corner.x + p.lineRight, corner.y + p.lineBottom);
    LineTo(dc, corner.x + p.lineRight, corner.y + p.lineTop);
  }
  SelectedPalette palette(dc, PaletteDevice(dc) ? state->palette.Get() : nullptr);
  palette.Realize();
  PaintDocumentAt(dc, preview, {corner.x + p.x, corner.y + p.y}, pane);
}

// A list file's name from the common open or save dialog, which starts in the current
// directory and leaves it as it was; nothing when the user cancelled.
using FileDialog = bool (*)(HWND, wchar_t*, const wchar_t*, const std::wstring&, int*, const char (*)[5], wchar_t*,
                            const std::wstring&);
std::optional<std::string> ChooseListFile(HWND dialog, FileDialog fileDialog, const wchar_t* title) {
  wchar_t name[kNameChars] = L"";
  wchar_t fileTitle[kNameChars] = L"";
  KeptDirectory kept;
  if (!fileDialog(dialog, name, title, Widen(FilterBlock(kListFilters, 1)), nullptr, kListExtensions, fileTitle,
                  kept.Directory())) {
    return std::nullopt;
  }
  return Narrow(name);
}

// "Save &to file...": the right list, one name a line.
void SaveList(HWND dialog) {
  HWND chosen = Item(dialog, IDC_MO_CHOSEN);
  const int count = EntryCount(chosen);
  if (count <= 0) {
    ShowWarningOwned(dialog, "There are no selected files!");
    return;
  }
  const std::optional<std::string> chosenName = ChooseListFile(dialog, SaveFileDialog, L"Save filenames to");
  if (!chosenName) return;
  std::string text;
  for (int i = 0; i < count; ++i) text += EntryText(chosen, i) + "\r\n";
  // A name typed without an extension gets ".txt".
  const std::string target = NameWithDefaultExtension(*chosenName, kListExtensions[0]);
  // The old file stays whole when the new one cannot be written.
  const bool existed = FileExists(target);
  if (!ReplaceFileContents(target, text)) {
    ShowWarningOwned(dialog, existed ? "Error writing: %s !" : "Error creating: %s !", LowerCased(target).c_str());
  }
}

// "Load &from file...": each line of a list file appended to the right list as it stands.
void LoadList(HWND dialog) {
  const std::optional<std::string> chosenName = ChooseListFile(dialog, OpenFileDialog, L"Read filenames from");
  if (!chosenName) return;
  const std::string& file = *chosenName;
  const std::optional<std::string> text = ReadListFile(file);
  if (!text) {
    ShowWarningOwned(dialog, "Error opening: %s !", LowerCased(file).c_str());
    return;
  }
  // An empty line names no file.
  for (const std::string& line : ListFileLines(*text)) {
    if (!line.empty() && !AddChosen(dialog, line)) break;
  }
  UpdateChosenButtons(dialog);
}

// "Delete": every file of the right list from the disk, from the first, each leaving the
// list once it is gone; the first that cannot be deleted stops the rest.
void DeleteChosen(HWND dialog) {
  if (AskYesNo("Are you sure you want to delete from the disk ALL files in the listbox on the right?") !=
      MsgResult::Yes) {
    return;
  }
  HWND chosen = Item(dialog, IDC_MO_CHOSEN);
  while (EntryCount(chosen) > 0) {
    const std::string name = EntryText(chosen, 0);
    if (RemoveFileUtf8(name) != 0) {
      ShowWarningOwned(dialog, "Error deleting file: '%s'", LowerCased(name).c_str());
      break;
    }
    SendMessageW(chosen, LB_DELETESTRING, 0, 0);
  }
  UpdateChosenButtons(dialog);
  FillFiles(dialog);
}

int ChosenDestination(HWND dialog) {
  for (int button : kDestinationButtons) {
    if (IsChecked(dialog, button)) return DestinationOfButton(button);
  }
  return cmd::kDropSlideshow;
}

// "Setup": the options of the destination chosen, over this dialog.
void ShowDestinationSetup(HWND dialog) {
  switch (ChosenDestination(dialog)) {
    case cmd::kDropSlideshow: ShowSlideshowOptions(dialog); break;
    case cmd::kDropCompress: ShowJpegOptions(dialog); break;
    case cmd::kDropPrinter: ShowPrintDialog(dialog); break;
    case cmd::kDropContactSheet: ShowContactOptions(dialog); break;
    default: break;
  }
}

void Fill(HWND dialog, LPARAM) {
  SetChecked(dialog, IDC_MO_PREVIEW_ON, state->previewOn);
  SetChecked(dialog, IDC_MO_PREVIEW_GRAY, Options().ImagePreviewGray() != 0);
  SetChecked(dialog, IDC_MO_SLIDESHOW, true);
  HWND types = Item(dialog, IDC_MO_TYPES);
  for (const MultipleOpenType& type : kMultipleOpenTypes) {
    SendMessageW(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(type.description).c_str()));
  }
  SendMessageW(types, CB_SETCURSEL, WPARAM(ClampTypePosition(Options().OpenType() - 1)), 0);
  SendDlgItemMessageW(dialog, IDC_MO_CHOSEN, LB_SETHORIZONTALEXTENT, kChosenExtent, 0);
  FillFiles(dialog);
  UpdateChosenButtons(dialog);
}

// OK: the right list into the queue. A failure ends the dialog as Cancel.
bool QueueChosen(HWND dialog) {
  HWND chosen = Item(dialog, IDC_MO_CHOSEN);
  const int count = EntryCount(chosen);
  if (count == LB_ERR) ShowWarningOwned(dialog, "List box error!");
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(EntryText(chosen, i));
  if (names.empty()) {
    EndDialog(dialog, IDCANCEL);
    return false;
  }
  if (!QueueNames(names, ChosenDestination(dialog))) {
    ShowNoMemory(dialog);
    EndDialog(dialog, IDCANCEL);
    return false;
  }
  return true;
}

bool OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDC_MO_TYPES:
      if (code == CBN_SELCHANGE) FillFiles(dialog);
      return true;
    case IDC_MO_FILES:
    case IDC_MO_CHOSEN:
      if (code == LBN_SELCHANGE) {
        LoadPreview(dialog, id);
      } else if (code == LBN_DBLCLK) {
        id == IDC_MO_FILES ? OpenEntry(dialog) : RemoveCaretEntry(dialog);
      }
      return true;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_MO_SELECT_ALL:
    case IDC_MO_UNSELECT_ALL:
      SendDlgItemMessageW(dialog, IDC_MO_FILES, LB_SETSEL, id == IDC_MO_SELECT_ALL, -1);
      return true;
    case IDC_MO_ADD: AddEntries(dialog, false); return true;
    case IDC_MO_ADD_ALL: AddEntries(dialog, true); return true;
    case IDC_MO_REMOVE: RemoveSelected(dialog); return true;
    case IDC_MO_REMOVE_ALL: RemoveAll(dialog); return true;
    case IDC_MO_SAVE_LIST: SaveList(dialog); return true;
    case IDC_MO_LOAD_LIST: LoadList(dialog); return true;
    case IDC_MO_DELETE: DeleteChosen(dialog); return true;
    case IDC_MO_SETUP: ShowDestinationSetup(dialog); return true;
    case IDC_MO_PREVIEW_GRAY: Options().SetImagePreviewGray(IsChecked(dialog, id) ? 1 : 0); return true;
    case IDC_MO_PREVIEW_ON:
      state->previewOn = IsChecked(dialog, id);
      InvalidateRect(Item(dialog, IDC_MO_PREVIEW), nullptr, FALSE);
      return true;
  }
  return false;
}

// The palette messages: the preview's palette, realised in the pane.
INT_PTR OnPaletteMessage(HWND dialog, UINT message, WPARAM wParam) {
  HWND pane = Item(dialog, IDC_MO_PREVIEW);
  const HWND changer = reinterpret_cast<HWND>(wParam);
  if (!state->palette || (message == WM_PALETTECHANGED && (changer == dialog || changer == pane))) return FALSE;
  const bool changed = RealizeImagePalette(pane, state->palette.Get());
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, changed);
  return TRUE;
}
}  // namespace

INT_PTR CALLBACK MultOpenDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Large, kHelpContext, Fill, QueueChosen, nullptr};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_DRAWITEM:
      if (wParam != IDC_MO_PREVIEW) return FALSE;
      PaintPreview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED: return OnPaletteMessage(dialog, message, wParam);
  }
  return FALSE;
}

void ShowMultipleOpen() {
  DialogState dialogState;
  dialogState.previewOn = Options().ImagePreview() != 0;
  state = &dialogState;
  const INT_PTR answer =
      DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_MULTIPLE_OPEN), shell.mainWindow, MultOpenDlgProc, 0);
  state = nullptr;
  Options().SetImagePreview(dialogState.previewOn ? 1 : 0);
  // The queue goes to the drop handling as if its files had been dropped.
  if (answer == IDOK) PostMessageW(shell.mainWindow, WM_COMMAND, cmd::kDropList, 0);
}

}  // namespace quilla
