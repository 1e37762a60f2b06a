#include "shell/file_commands.h"

#include <shellapi.h>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "app/command_line.h"
#include "app/file_queue.h"
#include "core/commands.h"
#include "app/file_session.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "settings/app_options.h"
#include "shell/display.h"
#include "shell/file_dialogs.h"
#include "shell/full_screen.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/utf.h"
#include "shell/window_layout.h"
#include "shell/window_title.h"

namespace quilla {

namespace {
std::wstring pendingCommandLine;

std::wstring RememberedDirectory() { return Widen(CurrentFileSession().rememberedDirectory); }

}  // namespace

int OpenMainImage(const std::string& name) {
  DropSelection(0);
  DIBImage& document = shell.mainDocument;
  FileSession& session = CurrentFileSession();
  const std::string shownName = session.currentName;
  const uint32_t shownType = document.fileType;
  const bool shownChanged = imageChanged;
  // Once the probes recognise the file, the image shown is put aside, not freed, until
  // the new one has been read.
  DibBlock shown;
  const int ok = OpenImageByName(document, name, [&] {
    shown = document.DetachDib();
    Repaint(false);
  });
  if (!ok) {
    if (!shown.empty()) {
      document.ReplaceDib(std::move(shown));
      document.fileType = shownType;
    }
    session.currentName = shownName;
    imageChanged = shownChanged;
  }
  shell.iconDocument.FreeImage();
  FitWindow();
  UpdateTitle();
  return ok;
}

bool AskSaveChanges() {
  bool saved = true;
  // A detached selection area is applied or dropped first, as the user says.
  const int go = AskSaveChanges([] { return DropSelection(1); }, [&saved] {
    OnFileSave(0);
    saved = !imageChanged;
  });
  return go != 0 && saved;
}

LRESULT OnFileOpen(LPARAM) {
  if (!AskSaveChanges()) return 0;
  wchar_t name[kNameChars] = L"";
  wchar_t title[kNameChars] = L"";
  lstrcpynW(name, Widen(CurrentFileSession().currentName).c_str(), kNameChars);
  int index = ValidOpenIndex(Options().OpenType());
  const std::wstring filters = Widen(FilterBlock(kOpenFilters, kOpenFilterCount));
  if (!OpenFileDialog(shell.mainWindow, name, L"Open Image File", filters, &index, kOpenExtensions, title,
                      RememberedDirectory())) {
    return 0;
  }
  Options().SetOpenType(index);
  OpenMainImage(Narrow(name));
  return 0;
}

LRESULT OnFileReopen(LPARAM) {
  const std::string last = CurrentFileSession().lastOpened;
  if (last.empty() || !AskSaveChanges()) return 0;
  OpenMainImage(last);
  return 0;
}

LRESULT OnFileSaveAs(LPARAM) {
  DIBImage& document = shell.mainDocument;
  wchar_t name[kNameChars] = L"";
  wchar_t title[kNameChars] = L"";
  lstrcpynW(name, Widen(CurrentFileSession().currentName).c_str(), kNameChars);
  int index = ValidSaveIndex(Options().SaveType());
  const std::wstring filters = Widen(FilterBlock(kSaveFilters, kSaveFilterCount));
  if (!SaveFileDialog(shell.mainWindow, name, L"Save Image as", filters, &index, kSaveExtensions, title,
                      RememberedDirectory())) {
    return 0;
  }
  const std::string chosen = Narrow(name);
  SetProgressName(chosen);
  Options().SetSaveType(SaveTypeFromName(chosen, index));
  bool grayOff = false;
  const uint32_t previousType = document.fileType;
  if (Options().SaveType() == 1) {
    if (!ConfirmGrayscaleJpegSaveAs(grayOff)) return 0;
    document.fileType = kJpegFile;
  } else {
    document.fileType = FileTypeOfSaveIndex(Options().SaveType());
  }
  if (grayOff) Options().SetSaveJpegGS(0);
  Repaint(false);
  // A failed save leaves the image as it was, its type included.
  if (!SaveImageByName(document, chosen)) document.fileType = previousType;
  if (grayOff) Options().SetSaveJpegGS(1);
  UpdateTitle();
  return 0;
}

LRESULT OnFileSave(LPARAM) {
  const std::string current = CurrentFileSession().currentName;
  if (current == kUntitled) return OnFileSaveAs(0);
  bool grayOff = false;
  if (!ConfirmSave(shell.mainDocument, grayOff)) return 0;
  if (grayOff) Options().SetSaveJpegGS(0);
  Repaint(false);
  SaveImageByName(shell.mainDocument, current);
  if (grayOff) Options().SetSaveJpegGS(1);
  UpdateTitle();
  return 0;
}

LRESULT OnFileDelete(LPARAM) {
  DeleteCurrentFile();
  return 0;
}

void KeepCommandLine(const wchar_t* commandLine) { pendingCommandLine = commandLine ? commandLine : L""; }
bool HasPendingCommandLine() { return !pendingCommandLine.empty(); }

void StartFromCommandLine(const std::string& text) {
  const std::vector<std::string> names = CommandLineNames(text);
  switch (ChooseCommandLineStart(names)) {
    case CommandLineStart::kOpenOne:
      OpenMainImage(names.front());
      break;
    case CommandLineStart::kSlideshow:
      if (QueueNames(names, cmd::kDropSlideshow)) {
        PostMessageW(shell.mainWindow, WM_COMMAND, cmd::kDropList, 0);
      } else {
        ShowNoMemory();
      }
      break;
    case CommandLineStart::kNothing:
      break;
  }
}

LRESULT OnCommandLine(LPARAM) {
  const std::string text = Narrow(pendingCommandLine);
  pendingCommandLine.clear();
  StartFromCommandLine(text);
  return 0;
}

}  // namespace quilla
