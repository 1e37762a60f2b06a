// The help pages: HTML files in the "help" folder beside the program, opened in the
// default browser. Each command and dialog passes its topic number.
#pragma once
#include <string>

namespace quilla {

inline constexpr int kHelpIndex = 0;
// The Help button of the program's dialogs.
inline constexpr int kHelpDialogCommand = 998;
inline constexpr int kHelpOpenDialog = 9, kHelpSaveDialog = 10, kHelpDeviceCaps = 68;

// The page of a topic; topics without a page of their own show the index.
const wchar_t* HelpPageOf(int topic);
// The program's folder followed by the help index page.
std::wstring HelpFile();
// Opens the topic's page; false (after a message) when it cannot.
bool ShowHelpTopic(int topic);
// At exit there is no viewer of ours to close: the browser belongs to the user.
bool HelpWasUsed();

}  // namespace quilla
