// The protocol between the GUI tests and the probe they hook into quilla.exe's thread.
// Each request is a registered message posted to the main window with the tests' reply
// window in wParam; the probe takes it out of the queue, so the program never sees it.
//
// - kMenuRequest: the answer is WM_COPYDATA (dwData kMenuTag) holding one line per menu
//   item, "depth|id|flags|text", flags from S separator, G greyed, C checked, P popup.
// - kSettleRequest, lParam a sequence number: answered with WM_COPYDATA (dwData
//   kSettleTag, the number as data) once the program is idle: everything posted before
//   has been handled, nothing is queued or waiting to be painted, and the thread is either
//   back in its own message loop or in the modal loop of a dialog or message box it shows,
//   not in an operation that pumps messages while it works.
// - kBusyClickRequest: clicks the item of the one-item busy menu as soon as the main window
//   shows it, from inside the operation's own message pump; no answer.
// - kDropRequest, lParam a global atom naming a UTF-16 file of names, one a line: the
//   window it is posted to receives WM_DROPFILES with those names, as from the shell. The
//   probe deletes the atom; no answer.
#pragma once

inline constexpr wchar_t kMenuRequest[] = L"QuillaTestMenuProbe";
inline constexpr wchar_t kSettleRequest[] = L"QuillaTestSettle";
inline constexpr wchar_t kBusyClickRequest[] = L"QuillaTestBusyClick";
inline constexpr wchar_t kDropRequest[] = L"QuillaTestDrop";
inline constexpr unsigned long kMenuTag = 0x4d454e55;    // "MENU"
inline constexpr unsigned long kSettleTag = 0x53544c45;  // "STLE"
