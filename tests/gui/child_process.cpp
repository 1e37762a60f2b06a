#include "child_process.h"

#include <memory>

#include "harness.h"

namespace quilla::gui {

ChildProcess::~ChildProcess() {
  if (!info_.hProcess) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool ChildProcess::Start(const std::wstring& program, const std::wstring& arguments, bool suspended, HANDLE output) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  DWORD flags = suspended ? CREATE_SUSPENDED : 0;
  if (output) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
    flags |= CREATE_NO_WINDOW;
  }
  return CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, output != nullptr, flags, nullptr,
                        nullptr, &startup, &info_) != 0;
}

bool ChildProcess::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(DWORD milliseconds, DWORD* exitCode) const {
  if (!WaitFor([&] { return !Running(); }, milliseconds)) return false;
  if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
  return true;
}

RunResult RunToEnd(const std::wstring& program, const std::wstring& arguments, DWORD milliseconds) {
  using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0)) return {DWORD(-1), "(no pipe)"};
  const Handle readEnd(read, CloseHandle);
  Handle writeEnd(write, CloseHandle);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);  // only the write end is the child's
  ChildProcess child;
  const bool started = child.Start(program, arguments, false, write);
  writeEnd.reset();  // the child holds its own copy: the read end sees its output end with it
  if (!started) return {DWORD(-1), Utf8(program) + " did not start"};
  RunResult result;
  char buffer[1024];
  DWORD n = 0;
  while (ReadFile(read, buffer, sizeof buffer, &n, nullptr) && n > 0) result.output.append(buffer, n);
  child.WaitForExit(milliseconds, &result.exitCode);
  while (!result.output.empty() && (result.output.back() == '\n' || result.output.back() == '\r'))
    result.output.pop_back();
  return result;
}

}  // namespace quilla::gui
