// The File menu's flows without their dialogs: the current and last opened names, the
// remembered directory, opening by name, and the questions asked before saving,
// discarding changes and deleting. The shell shows the common dialogs and calls these.
#pragma once
#include <functional>
#include <string>

namespace quilla {

class DIBImage;

inline constexpr const char kUntitled[] = "UNTITLED";

struct FileSession {
  std::string currentName = kUntitled;  // as given, so it opens on case-sensitive systems
  std::string lastOpened;               // empty until the first open
  std::string rememberedDirectory;      // initial directory of both dialogs
};
FileSession& CurrentFileSession();
// The current name's file title, lower-cased, as titles show it.
std::string CurrentFileTitle();
// A name without its directory (or drive), as given.
std::string FileTitle(const std::string& name);

// Keeps the directory of a full name as the dialogs' start and the process's current
// directory; a failure there is reported.
void RememberDirectory(const std::string& fullName);

// The open flow without the dialog: busy menu, read, "OpenType" from the type read,
// current name (or "UNTITLED" on failure), imageChanged cleared. Non-zero on success.
// onRecognised runs once the file's type is known, before the document's image goes.
int OpenImageByName(DIBImage& document, const std::string& name, const std::function<void()>& onRecognised = {});
// After a failed open inside a running batch: asks whether to cancel the rest, unless this
// was the last file and no slideshow cycles back to the first. Yes cancels the batch.
void AskCancelRemaining();

// Writes the document to name under the saving busy menu; success makes name current
// and clears imageChanged. Non-zero on success.
int SaveImageByName(DIBImage& document, const std::string& name);

// Before the image is replaced: settleSelection applies a detached selection (0 when the
// user cancelled there); save runs File > Save. Returns 0 when the user cancelled.
int AskSaveChanges(const std::function<int()>& settleSelection, const std::function<void()>& save);

// File > Save's question before writing the current name in fileType. Returns false to
// stop; jpegGsOffForThisSave is set when the user chose to save this JPEG in colour.
bool ConfirmSave(const DIBImage& document, bool& jpegGsOffForThisSave);
// File > Save as's question for a grayscale JPEG. Same results.
bool ConfirmGrayscaleJpegSaveAs(bool& jpegGsOffForThisSave);

// File > Delete: asks, then deletes the current file with its own messages. Non-zero
// when the file was deleted.
int DeleteCurrentFile();

// The text of a common dialog's extended error ("%s (%X)" is shown with it).
const char* CommonDialogErrorText(unsigned long code);
void ShowCommonDialogError(unsigned long code);

}  // namespace quilla
