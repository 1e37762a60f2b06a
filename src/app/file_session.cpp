#include "app/file_session.h"

#include <cerrno>

#include "core/commands.h"
#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/file_system.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "settings/app_options.h"

namespace quilla {

FileSession& CurrentFileSession() {
  static FileSession session;
  return session;
}

std::string FileTitle(const std::string& name) {
  const size_t slash = name.find_last_of("\\/:");
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string CurrentFileTitle() { return ShownName(FileTitle(CurrentFileSession().currentName).c_str()); }

void RememberDirectory(const std::string& fullName) {
  size_t slash = fullName.find_last_of("\\/");
  std::string directory = slash == std::string::npos ? std::string() : fullName.substr(0, slash + 1);
  // A drive root ("c:\") keeps its separator.
  if (directory.size() >= 4) directory.pop_back();
  CurrentFileSession().rememberedDirectory = directory;
  if (directory.empty()) return;
  if (int error = ChangeDirectoryUtf8(directory))
    ShowWarning("WIN32 (%ld): Failed to change directory to '%s'", long(error), directory.c_str());
}

int OpenImageByName(DIBImage& document, const std::string& name, const std::function<void()>& onRecognised) {
  FileSession& session = CurrentFileSession();
  SetProgressName(name);
  ResetProgress();
  ShowBusyMenu(kLoadingMenu);
  RememberDirectory(name);
  BeginWaitCursor();
  session.lastOpened = name;
  int ok = ReadImageFile(document, name, onRecognised);
  if (ok) {
    Options().SetOpenType(OpenIndexOfFileType(document.fileType));
    session.currentName = name;
  } else {
    session.currentName = kUntitled;
  }
  imageChanged = false;
  EndWaitCursor();
  RestoreMenu();
  if (!ok) AskCancelRemaining();
  return ok;
}

void AskCancelRemaining() {
  if (!IsBatchRunning() || IsBatchCancelled()) return;
  const bool last = BatchIndex() + 1 >= BatchSize();
  const bool cycling = Options().DropTo() == cmd::kDropSlideshow && Options().SSCycle();
  if ((!last || cycling) && AskYesNo("Cancel remaining open operations ?") == MsgResult::Yes) CancelBatch();
}

int SaveImageByName(DIBImage& document, const std::string& name) {
  BeginWaitCursor();
  RememberDirectory(name);
  ShowBusyMenu(kSavingMenu);
  SetProgressName(name);
  ResetProgress();
  int ok = WriteImageFile(document, name);
  if (ok) {
    imageChanged = false;
    CurrentFileSession().currentName = name;
  }
  EndWaitCursor();
  RestoreMenu();
  return ok;
}

int AskSaveChanges(const std::function<int()>& settleSelection, const std::function<void()>& save) {
  if (settleSelection && !settleSelection()) return 0;
  if (!imageChanged) return 1;
  MsgResult answer = AskYesNoCancel("Image was changed, do you wish to save it?");
  if (answer == MsgResult::Cancel) return 0;
  if (answer == MsgResult::Yes && save) save();
  return 1;
}

bool ConfirmSave(const DIBImage& document, bool& jpegGsOffForThisSave) {
  const AppOptions& options = Options();
  jpegGsOffForThisSave = false;
  if (options.WarnAllSaves()) {
    std::string shown = ShownName(CurrentFileSession().currentName.c_str());
    return AskYesNo("Save this image to file:\n\n%s\n\nin %s format?", shown.c_str(),
                    FileTypeName(document.fileType, options.SaveJpegGS() != 0)) == MsgResult::Yes;
  }
  if (options.WarnJpegGsSave() && document.fileType == kJpegFile && options.SaveJpegGS()) {
    std::string shown = ShownName(CurrentFileSession().currentName.c_str());
    MsgResult answer =
        AskYesNoCancel("Save this image to file:\n\n%s\n\nin %s format ?", shown.c_str(), "GRAYSCALE JPEG");
    if (answer == MsgResult::Cancel) return false;
    jpegGsOffForThisSave = answer == MsgResult::No;
  }
  return true;
}

bool ConfirmGrayscaleJpegSaveAs(bool& jpegGsOffForThisSave) {
  const AppOptions& options = Options();
  jpegGsOffForThisSave = false;
  if (!options.WarnJpegGsSave() || !options.SaveJpegGS()) return true;
  MsgResult answer = AskYesNoCancel("Are you sure you want to save in %s format ?", "GRAYSCALE JPEG");
  if (answer == MsgResult::Cancel) return false;
  jpegGsOffForThisSave = answer == MsgResult::No;
  return true;
}

int DeleteCurrentFile() {
  const std::string& name = CurrentFileSession().currentName;
  std::string shown = ShownName(name.c_str());
  if (AskYesNo("DELETE FILE:\n\n%s", shown.c_str()) != MsgResult::Yes) return 0;
  int error = RemoveFileUtf8(name);
  if (error == 0) return 1;
  if (error == ENOENT || error == ENOTDIR)
    ShowWarning("Path or file name not found");
  else if (error == EACCES || error == EPERM)
    ShowWarning("Permission denied");
  else
    ShowWarning("Error deleting file");
  return 0;
}

const char* CommonDialogErrorText(unsigned long code) {
  switch (code) {
    case 0x0001: return "Error: struct size";
    case 0x0002: return "Initialization error";
    case 0x0003: return "Error: No template";
    case 0x0004: return "Error: No HInstance";
    case 0x0005: return "Error loading string";
    case 0x0006: return "Error finding resource";
    case 0x0007: return "Error loading resource";
    case 0x0008: return "Error locking resource";
    case 0x0009: return "Error allocating memory";
    case 0x000A: return "Error locking memory";
    case 0x000B: return "Error: No Hook";
    case 0x000C: return "Error registering window message";
    case 0x3001: return "Error: subclass failure";
    case 0x3002: return "Error: invalid filename";
    case 0x3003: return "Error: buffer too small";
    case 0x4001: return "Error: buffer length is zero";
    case 0xFFFF: return "Error creating dialog box";
    default: return "Undocumented error";
  }
}

void ShowCommonDialogError(unsigned long code) {
  if (code != 0) ShowWarning("%s (%lX)", CommonDialogErrorText(code), code);
}

}  // namespace quilla
