// Uniform message boxes and the busy cursor. Every box first leaves full-screen view,
// formats its text printf-style and carries the program title as caption.
#pragma once
#include <string>

#include "core/host.h"

#if defined(__GNUC__)
#define QUILLA_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define QUILLA_PRINTF(f, a)
#endif

namespace quilla {

// The host is installed once at start-up and lives until exit.
void InstallHost(Host* host);
Host* HostOrNull();
Host& CurrentHost();

inline constexpr const char kNoMemoryText[] = "Not enough memory !";

void ShowInfo(const char* format, ...) QUILLA_PRINTF(1, 2);
void ShowWarning(const char* format, ...) QUILLA_PRINTF(1, 2);
void ShowWarningOwned(OwnerWindow owner, const char* format, ...) QUILLA_PRINTF(2, 3);
bool AskOkCancel(const char* format, const char* argument) QUILLA_PRINTF(1, 0);
bool AskOkCancelOwned(OwnerWindow owner, const char* format, const char* argument) QUILLA_PRINTF(2, 0);
MsgResult AskYesNoCancel(const char* format, ...) QUILLA_PRINTF(1, 2);
MsgResult AskYesNo(const char* format, ...) QUILLA_PRINTF(1, 2);
void ShowNoMemory(OwnerWindow owner = nullptr);
void ShowShortFile(const char* name);

// printf-style formatting into a string, bounded like the message buffer (1000 characters).
std::string FormatMessageText(const char* format, ...) QUILLA_PRINTF(1, 2);

// Busy cursor, nesting.
void BeginWaitCursor();
void EndWaitCursor();
int BusyCursorDepth();
bool WaitCursorShown();

class WaitCursor {
 public:
  WaitCursor() { BeginWaitCursor(); }
  ~WaitCursor() { EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace quilla
