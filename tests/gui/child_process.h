// The one way the GUI tests start another program (quilla.exe, quilla-cli.exe): a child
// process that is ended, if still running, and closed with its object.
#pragma once
#include <windows.h>

#include <string>

namespace quilla::gui {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the program with the arguments. Suspended, its first thread waits for Resume().
  // With an output handle, that is its standard output and error, and it gets no console.
  bool Start(const std::wstring& program, const std::wstring& arguments, bool suspended = false,
             HANDLE output = nullptr);
  void Resume() const { ResumeThread(info_.hThread); }
  DWORD Id() const { return info_.dwProcessId; }
  DWORD ThreadId() const { return info_.dwThreadId; }
  bool Running() const;
  // Waits for the process to end, handling the caller's messages meanwhile; false on timeout.
  bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr) const;

 private:
  PROCESS_INFORMATION info_{};
};

struct RunResult {
  DWORD exitCode = DWORD(-1);
  std::string output;  // what it printed on either stream, without the last line break
};
// Runs the program to its end (at most `milliseconds` once its output is closed).
RunResult RunToEnd(const std::wstring& program, const std::wstring& arguments, DWORD milliseconds);

}  // namespace quilla::gui
