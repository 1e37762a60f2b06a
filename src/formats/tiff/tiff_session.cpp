#include "formats/tiff/tiff_session.h"

#include <cstdarg>
#include <cstdio>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/file_system.h"

namespace quilla::tiff {

namespace {

Session session;

void LibraryMessage(const char*, const char* format, va_list args) {
  if (session.libraryFailed) return;
  char text[1000];
  std::vsnprintf(text, sizeof text, format, args);
  session.libraryFailed = true;
  session.libraryMessage = text;
}

// Warnings (an unknown private tag, an odd but readable field) do not end the transfer:
// refusing every file that carries a tag the library doesn't know would refuse many
// good files.
void LibraryWarning(const char*, const char*, va_list) {}

// The library's client procedures over a stdio stream.
tmsize_t StreamRead(thandle_t h, void* data, tmsize_t n) {
  return n < 0 ? -1 : tmsize_t(std::fread(data, 1, size_t(n), static_cast<std::FILE*>(h)));
}
tmsize_t StreamWrite(thandle_t h, void* data, tmsize_t n) {
  return n < 0 ? -1 : tmsize_t(std::fwrite(data, 1, size_t(n), static_cast<std::FILE*>(h)));
}
toff_t StreamSeek(thandle_t h, toff_t offset, int whence) {
  auto* file = static_cast<std::FILE*>(h);
  // Seeks back from the current position or the end come as two's complement offsets.
  int64_t delta = int64_t(offset);
  int64_t base = 0;
  if (whence == SEEK_SET) {
    if (delta < 0) return toff_t(-1);
  } else {
    base = whence == SEEK_CUR ? FileTell(file) : FileLength(file);
    if (base < 0 || (delta > 0 && delta > INT64_MAX - base)) return toff_t(-1);
  }
  int64_t target = base + delta;
  if (target < 0 || !SeekFile(file, target)) return toff_t(-1);
  return toff_t(target);
}
int StreamClose(thandle_t) { return 0; }  // the transfer file is closed by its owner
toff_t StreamSize(thandle_t h) {
  int64_t length = FileLength(static_cast<std::FILE*>(h));
  return length < 0 ? 0 : toff_t(length);
}
int NoMap(thandle_t, void**, toff_t*) { return 0; }
void NoUnmap(thandle_t, void*, toff_t) {}

}  // namespace

Session& CurrentSession() { return session; }

void BeginSession(bool reading, bool quiet) {
  session.handle = nullptr;
  session.reading = reading;
  session.quiet = quiet;
  session.locked = false;
  session.madeImage = false;
  session.libraryFailed = false;
  session.libraryMessage.clear();
  std::vector<uint8_t>().swap(session.buffer);
  TIFFSetErrorHandler(LibraryMessage);
  TIFFSetWarningHandler(LibraryWarning);
}

TIFF* OpenOverStream(std::FILE* stream, const char* name, const char* mode) {
  if (!stream) return nullptr;
  return TIFFClientOpen(name ? name : "", mode, stream, StreamRead, StreamWrite, StreamSeek, StreamClose, StreamSize,
                        NoMap, NoUnmap);
}

void CheckLibrary() {
  if (session.libraryFailed) throw CodecAbort{AbortReason::Message, session.libraryMessage};
}

void EndSession(DIBImage& document) {
  std::vector<uint8_t>().swap(session.buffer);
  if (session.locked) {
    session.locked = false;
    document.Unlock();
  }
  if (session.handle) {
    TIFF* handle = session.handle;
    session.handle = nullptr;
    TIFFCleanup(handle);
  }
}

void RowProgress(long long row, long long rows) {
  if (session.quiet) return;
  int go = row % 32 == 0 ? ReportProgress(row, rows) : PollCancel();
  if (!go) AbortCodec(AbortReason::Cancelled);
}

}  // namespace quilla::tiff
