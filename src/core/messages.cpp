#include "core/messages.h"

#include <cstdarg>
#include <cstdio>

#include "core/version.h"

namespace quilla {

namespace {
Host* installedHost = nullptr;
int busyCursorDepth = 0;
bool waitCursorShown = false;
constexpr size_t kMessageBufferSize = 1000;

std::string FormatV(const char* format, va_list args) {
  char buffer[kMessageBufferSize];
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  return n < 0 ? std::string(format) : std::string(buffer);
}

MsgResult Show(OwnerWindow owner, const std::string& text, MsgButtons buttons, MsgIcon icon) {
  return CurrentHost().MessageBox(owner, text, kProgramTitle, buttons, icon);
}
}  // namespace

void InstallHost(Host* host) { installedHost = host; }
Host* HostOrNull() { return installedHost; }
Host& CurrentHost() { return *installedHost; }

std::string FormatMessageText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  return text;
}

#define FORMAT_ARGS(text, format)   \
  va_list args;                     \
  va_start(args, format);           \
  std::string text = FormatV(format, args); \
  va_end(args)

void ShowInfo(const char* format, ...) {
  FORMAT_ARGS(text, format);
  Show(nullptr, text, MsgButtons::Ok, MsgIcon::Information);
}

void ShowWarning(const char* format, ...) {
  FORMAT_ARGS(text, format);
  Show(nullptr, text, MsgButtons::Ok, MsgIcon::Exclamation);
}

void ShowWarningOwned(OwnerWindow owner, const char* format, ...) {
  FORMAT_ARGS(text, format);
  Show(owner, text, MsgButtons::Ok, MsgIcon::Exclamation);
}

bool AskOkCancelOwned(OwnerWindow owner, const char* format, const char* argument) {
  std::string text = FormatMessageText(format, argument);
  return Show(owner, text, MsgButtons::OkCancel, MsgIcon::Question) == MsgResult::Ok;
}

bool AskOkCancel(const char* format, const char* argument) { return AskOkCancelOwned(nullptr, format, argument); }

MsgResult AskYesNoCancel(const char* format, ...) {
  FORMAT_ARGS(text, format);
  return Show(nullptr, text, MsgButtons::YesNoCancel, MsgIcon::Question);
}

MsgResult AskYesNo(const char* format, ...) {
  FORMAT_ARGS(text, format);
  return Show(nullptr, text, MsgButtons::YesNo, MsgIcon::Question);
}

void ShowNoMemory(OwnerWindow owner) { ShowWarningOwned(owner, "%s", kNoMemoryText); }

void ShowShortFile(const char* name) { ShowWarning("Short file: %s", name); }

void BeginWaitCursor() {
  ++busyCursorDepth;
  waitCursorShown = true;
  if (installedHost) installedHost->ShowWaitCursor();
}

void EndWaitCursor() {
  if (--busyCursorDepth > 0) return;
  busyCursorDepth = 0;
  waitCursorShown = false;
  if (installedHost) installedHost->RestoreCursor();
}

int BusyCursorDepth() { return busyCursorDepth; }
bool WaitCursorShown() { return waitCursorShown; }

}  // namespace quilla
