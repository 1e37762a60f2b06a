// The GUI tests that retouch one picture: a true-colour gradient written as depth.bmp, the
// program started on it, reduced to 16 colours when a test needs a palette image, and the
// picture as the screen shows it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "session.h"

namespace quilla::gui {

inline constexpr int kPictureWidth = 64, kPictureHeight = 48;

// The main window's title on the picture with that many colours.
std::string PictureTitle(const char* colours);

class PictureTest : public SessionTest {
 protected:
  void SetUp() override;
  // Answers No to a box left over, so the program can end.
  void TearDown() override;

  // Starts the program on the picture and waits for its true-colour title.
  void StartOnImage() { StartOn(image_, PictureTitle("16.7 million")); }
  // The same, with the main window brought to the front for the mouse and settled.
  void StartOnImageInFront();
  // Color Depth: the palette target with the 16 Windows colours.
  void ReduceToSixteen();
  // Chooses the command and gives the dialog it shows, checked to have the title and moved out
  // of the way of the picture; null when none comes.
  HWND ShowRetouch(int command, const std::string& title) const;
  // Waits for the title.
  void ExpectTitle(const std::string& title) const;
  // The picture on the screen once the program has settled (painted), row by row.
  std::vector<unsigned> Settled();

  std::string original_;  // the file's bytes as written
  std::wstring image_;
};

// Moves a dialog out of the way of the picture.
void MoveAside(HWND dialog);
// One scroll action on the dialog's scroll bar: the step, then its end.
void Scroll(HWND dialog, int barId, int code);

}  // namespace quilla::gui
