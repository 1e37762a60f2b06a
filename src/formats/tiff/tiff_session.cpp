#include "formats/tiff/tiff_session.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "formats/codec_abort.h"
#include "formats/transfer.h"

namespace quilla::tiff {

namespace {

int LibraryError(TIFF*, void* session, const char*, const char* format, va_list args) {
  static_cast<Session*>(session)->Record(format, args);
  return 1;  // handled: nothing goes to the process-wide handler
}

// Warnings (an unknown private tag, an odd but readable field) do not end the transfer:
// refusing every file that carries a tag the library doesn't know would refuse many
// good files.
int LibraryWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

Transfer& Of(thandle_t h) { return *static_cast<Transfer*>(h); }

// The library's client procedures over the transfer's block reader and writer; they
// report failures and never throw.
tmsize_t StreamRead(thandle_t h, void* data, tmsize_t n) {
  Transfer& transfer = Of(h);
  if (n < 0 || transfer.direction != Transfer::Direction::Read) return -1;
  return tmsize_t(transfer.In().ReadSome(data, size_t(n)));
}
tmsize_t StreamWrite(thandle_t h, void* data, tmsize_t n) {
  Transfer& transfer = Of(h);
  if (n < 0 || transfer.direction != Transfer::Direction::Write) return -1;
  return transfer.Out().TryWrite(data, size_t(n)) ? n : -1;
}
uint64_t Position(Transfer& transfer) {
  return transfer.direction == Transfer::Direction::Read ? transfer.In().Tell() : transfer.Out().Tell();
}
uint64_t Length(Transfer& transfer) {
  return transfer.direction == Transfer::Direction::Read ? transfer.In().Size() : transfer.Out().Size();
}
toff_t StreamSeek(thandle_t h, toff_t offset, int whence) {
  Transfer& transfer = Of(h);
  // Seeks back from the current position or the end come as two's complement offsets.
  int64_t delta = int64_t(offset);
  int64_t base = whence == SEEK_SET ? 0 : int64_t(whence == SEEK_CUR ? Position(transfer) : Length(transfer));
  if ((whence == SEEK_SET && delta < 0) || (delta > 0 && delta > INT64_MAX - base)) return toff_t(-1);
  int64_t target = base + delta;
  if (target < 0) return toff_t(-1);
  bool moved = transfer.direction == Transfer::Direction::Read ? transfer.In().TrySeek(uint64_t(target))
                                                                : transfer.Out().TrySeek(uint64_t(target));
  return moved ? toff_t(target) : toff_t(-1);
}
int StreamClose(thandle_t) { return 0; }  // the transfer closes its file
toff_t StreamSize(thandle_t h) { return toff_t(Length(Of(h))); }
int NoMap(thandle_t, void**, toff_t*) { return 0; }
void NoUnmap(thandle_t, void*, toff_t) {}

struct FreeOptions {
  void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

}  // namespace

Session::Session(Transfer& transfer, const char* mode) {
  // Nothing the library says reaches the process's output.
  TIFFSetErrorHandler(nullptr);
  TIFFSetWarningHandler(nullptr);
  std::unique_ptr<TIFFOpenOptions, FreeOptions> options(TIFFOpenOptionsAlloc());
  if (!options) AbortCodec(AbortReason::NoMemory);
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), LibraryError, this);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), LibraryWarning, this);
  handle = TIFFClientOpenExt(transfer.name.c_str(), mode, &transfer, StreamRead, StreamWrite, StreamSeek,
                             StreamClose, StreamSize, NoMap, NoUnmap, options.get());
}

Session::~Session() {
  if (handle) TIFFCleanup(handle);
}

void Session::Record(const char* format, va_list args) {
  if (libraryFailed) return;
  char text[1000];
  std::vsnprintf(text, sizeof text, format, args);
  libraryFailed = true;
  libraryMessage = text;
}

void Session::CheckLibrary() const {
  if (libraryFailed) throw CodecAbort{AbortReason::Message, libraryMessage};
}

void Session::Close() {
  TIFF* tif = handle;
  handle = nullptr;
  if (tif) TIFFClose(tif);
}

}  // namespace quilla::tiff
