#include "formats/transfer.h"

#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/file_system.h"

namespace quilla {

Transfer::Transfer(DIBImage& document, std::string name, Direction direction, bool quiet)
    : document(document),
      name(std::move(name)),
      direction(direction),
      quiet(quiet),
      reduction(CurrentReadQuantizeOptions()) {
  // Closing the window while the main document is being read or written runs this
  // transfer's clean-up.
  onMainDocument = &document == MainDocument();
  if (onMainDocument) outerCleanUp = SetActiveTransferCleanup([this] { CleanUp(); });
}

Transfer::~Transfer() {
  CleanUp();
  if (writer) writer->Discard();
  CloseFile();
  if (onMainDocument) SetActiveTransferCleanup(std::move(outerCleanUp));
}

bool Transfer::OpenForReading() {
  file.reset(OpenFileUtf8(name, "rb"));
  if (!file) return false;
  ++openFiles;
  // The reader does its own buffering in whole blocks.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  try {
    reader.emplace(file.get());
  } catch (const CodecAbort&) {
    file.reset();
    return false;
  }
  return true;
}

void Transfer::AdoptForWriting(std::FILE* stream) {
  file.reset(stream);
  if (!file) return;
  ++openFiles;
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  writer.emplace(file.get());
}

ByteReader& Transfer::In() {
  if (!reader || !file) AbortCodec(AbortReason::ShortRead);
  return *reader;
}

ByteWriter& Transfer::Out() {
  if (!writer || !file) AbortCodec(AbortReason::WriteError);
  return *writer;
}

bool Transfer::CloseFile() {
  if (!file) return true;
  bool ok = !writer || writer->TryFlush();
  reader.reset();
  writer.reset();
  --openFiles;
  return std::fclose(file.release()) == 0 && ok;
}

void Transfer::RowDone(long long row, long long rows, int every) {
  if (quiet) return;
  int go = row % every == 0 ? ReportProgress(row, rows) : PollCancel();
  if (!go) AbortCodec(AbortReason::Cancelled);
}

void Transfer::LockImage() {
  if (!TryLockImage()) AbortCodec(AbortReason::NoMemory);
}

bool Transfer::TryLockImage() {
  if (lock) return true;
  if (lock.emplace(document)) return true;
  lock.reset();
  return false;
}

void Transfer::BeginRun() {
  codecCleanUp = nullptr;
  cleanedUp = false;
  partial = false;
}

void Transfer::CleanUp() {
  if (cleanedUp) return;
  cleanedUp = true;
  UnlockImage();
  if (std::function<void()> codecPart = std::move(codecCleanUp)) codecPart();
  if (writer) writer->Discard();
}

}  // namespace quilla
