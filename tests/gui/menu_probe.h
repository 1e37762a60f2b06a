// The protocol between the GUI tests and the menu probe they hook into quilla.exe:
// the tests post kMenuProbeMessage to the main window with their reply window in wParam;
// the probe answers with WM_COPYDATA (dwData kMenuProbeTag) holding one line per menu
// item, "depth|id|flags|text", flags from S separator, G greyed, C checked, P popup.
#pragma once

inline constexpr wchar_t kMenuProbeMessage[] = L"QuillaTestMenuProbe";
inline constexpr unsigned long kMenuProbeTag = 0x4d454e55;  // "MENU"
