// Numbers of the program's resources and of the controls in its dialogs. Command numbers
// live in core/commands.h; the menus here use the same values.
#pragma once

#define IDM_MAIN 1
// Busy menus 2..6 are the numbers of core/progress.h (BusyMenuNumber).
#define IDM_LOADING 2
#define IDM_SAVING 3
#define IDM_PAUSING 4
#define IDM_COMPRESSING 5
#define IDM_PRINTING 6
// The one-letter titles measured at start-up for narrow windows.
#define IDM_SHORT 7

#define IDI_APP 10
#define IDC_MAIN_CURSOR 11
#define IDC_PICK_CURSOR 12
// The selection frame's brushes: four phases attached, then four detached.
#define IDB_FRAME_PATTERN0 760
// The toolbar's glyphs 700..734: one a button, the caption button, disabled, the second
// glyph of the JPEG set-up button.
#define IDB_TOOLBAR_GLYPH0 700

#define IDD_ABOUT 30
#define IDD_DEVCAPS 39

// About dialog.
#define IDC_ABOUT_TITLE 100
#define IDC_ABOUT_ICON 101

// Device Caps dialog: one read-out per capability.
#define IDC_CAPS_DRIVER 101
#define IDC_CAPS_HORZRES 102
#define IDC_CAPS_VERTRES 103
#define IDC_CAPS_BITSPIXEL 104
#define IDC_CAPS_PLANES 105
#define IDC_CAPS_NUMCOLORS 106
#define IDC_CAPS_PALETTE 107
#define IDC_CAPS_SIZEPALETTE 108
#define IDC_CAPS_NUMRESERVED 109
#define IDC_CAPS_COLORRES 110
#define IDC_CAPS_CLIP 111
#define IDC_CAPS_DIB 112
#define IDC_CAPS_BITMAP64 113

#define IDC_HELP_BUTTON 998
