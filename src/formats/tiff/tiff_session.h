// The library's handle over a transfer's file for one TIFF read or write, and what the
// library said. The library's error handler only records the first message; the adapter
// looks at it after each library call and unwinds from its own code, never through the
// library's frames. The handle is let go (without completing a file being written) when
// the session ends, however it ends.
#pragma once
#include <string>

#include <tiffio.h>

namespace quilla {
class Transfer;
}

namespace quilla::tiff {

class Session {
 public:
  // Opens the library over the transfer's reader ("r...") or writer ("w"); Handle() is
  // nullptr when it refused.
  Session(Transfer& transfer, const char* mode);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  TIFF* Handle() const { return handle; }
  // Whether the library has reported an error since the session began.
  bool Failed() const { return libraryFailed; }
  // Unwinds with the library's message when it has spoken since the session began.
  void CheckLibrary() const;
  // Completes a written file (the directory goes last).
  void Close();

  // Called by the library's handlers.
  void Record(const char* format, va_list args);

 private:
  TIFF* handle = nullptr;
  bool libraryFailed = false;  // an error came from the library
  std::string libraryMessage;  // the first one, formatted
};

}  // namespace quilla::tiff
