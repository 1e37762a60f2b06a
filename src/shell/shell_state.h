// The shell's program-wide state: the main window and what hangs on it, the documents
// that live as long as the program, and the flags the window procedure consults.
#pragma once
#include <windows.h>

#include <string>

#include "core/dib_image.h"
#include "shell/gdi.h"

namespace quilla {

struct ShellState {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HMENU mainMenu = nullptr;         // menu 1, put back after every busy menu
  HACCEL accelerators = nullptr;    // "QuillaMainAccel"; null when missing
  HICON appIcon = nullptr;
  HCURSOR mainCursor = nullptr;     // over the image; the arrow when missing
  HCURSOR pickCursor = nullptr;     // while picking a fill colour
  bool pickMode = false;
  bool fullScreenActive = false;
  bool startingUp = true;
  // Set while the interface is busy; the toolbar folds into the caption button meanwhile.
  bool toolbarBusy = false;
  std::wstring startDirectory;      // the open and save dialogs start here
  GdiObject<HBRUSH> dialogBrush;    // background of the shell's dialogs (button face)

  DIBImage mainDocument;
  DIBImage iconDocument;            // thumbnail drawn for the minimised window
};

extern ShellState shell;

// Posts an internal request (WM_USER with the command number) to the main window.
void PostCommand(int number, LPARAM lParam = 0);

}  // namespace quilla
