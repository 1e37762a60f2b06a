// The adapter's state for the one TIFF operation that runs at a time: the library handle
// over the transfer file, the buffer, the lock, and what the library said. The library's
// error and warning handlers only record the first message; the adapter looks at it after
// each library call and unwinds from its own code, never through the library's frames.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <tiffio.h>

namespace quilla {
class DIBImage;
}

namespace quilla::tiff {

struct Session {
  TIFF* handle = nullptr;
  bool reading = true;
  bool quiet = false;
  bool locked = false;
  bool madeImage = false;
  bool libraryFailed = false;  // an error or warning came from the library
  std::string libraryMessage;  // the first one, formatted
  std::vector<uint8_t> buffer;
};

Session& CurrentSession();

// Clears the state for a new operation and installs the handlers.
void BeginSession(bool reading, bool quiet);
// Opens the library over an open stream ("r" or "w"); nullptr when it refused.
TIFF* OpenOverStream(std::FILE* stream, const char* name, const char* mode);
// Unwinds with the library's message when it has spoken since the operation began.
void CheckLibrary();
// Frees the buffer, unlocks the document if the adapter locked it, lets go of the library
// handle (without completing a file being written). Safe to run twice.
void EndSession(DIBImage& document);
// Progress per row: every 32nd row the percentage, cancel polls between; a cancel unwinds.
void RowProgress(long long row, long long rows);

}  // namespace quilla::tiff
