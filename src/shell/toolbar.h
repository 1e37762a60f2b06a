// The floating toolbar beside the main window: 32 buttons that post menu commands, the
// caption button it collapses into, and the delayed legend that names a button.
#pragma once
#include <windows.h>

namespace quilla {

// Registers the classes, loads the glyphs, creates the toolbar and its legend and starts
// the legend's timer. False when any of it fails (a missing timer only turns legends off).
bool CreateToolbar(HINSTANCE instance, bool collapsed, bool onLeft);
// Releases all of it; nothing happens when there is nothing.
void DestroyToolbar();
// From now on the toolbar may be shown (the main window is up).
void MarkToolbarReady();

void ShowToolbar();
void HideToolbar();
// Places the toolbar again when it is shown: the main window moved.
void FollowMainWindow();
// Hides the legend, e.g. before a dialog comes up over the toolbar.
void HideToolbarLegend();
// The interface turned busy or idle: a shown toolbar folds into the caption meanwhile.
void SetToolbarBusy(bool busy);
// Greys the buttons whose menu items are greyed; nothing while collapsed.
void SyncButtonStates();
// The JPEG set-up button shows the glyph of the preview set when on.
void SetAltGlyph29(bool on);

// What exit keeps: the collapse the user chose (not one made by a busy interface) and the side.
bool ToolbarCollapsed();
bool ToolbarOnLeft();
// Whether the legend's timer could be had.
bool ToolbarTimerAvailable();

// Command 802: lParam 0 hides the toolbar, 1 shows it.
LRESULT OnToolbarShowCommand(LPARAM lParam);

LRESULT CALLBACK ToolBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK LegendWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quilla
