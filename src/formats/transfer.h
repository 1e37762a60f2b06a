// One read or write of an image file: the document, the file's name, the open file with
// its block reader or writer, whether the transfer is quiet, the options it reads, the
// preview box, and what to undo when it stops early. The open and save flows make one,
// hand it to the codec, and destroy it; nothing of a transfer outlives it.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/dib_image.h"
#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/read_settings.h"

namespace quilla {

class Transfer {
 public:
  enum class Direction { Read, Write };

  // Quiet transfers (probes, previews) show no message, report no progress and do not
  // poll for cancel. The reduce-while-reading options are read here, once.
  Transfer(DIBImage& document, std::string name, Direction direction, bool quiet);
  // Runs the clean-up when the codec did not finish.
  ~Transfer();
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  DIBImage& document;
  const std::string name;
  const Direction direction;
  const bool quiet;
  const QuantizeOptions reduction;
  // A preview read shrinks to this box; 0 x 0 for a full read.
  int previewWidth = 0, previewHeight = 0;
  // Set by a reader that read the image with the library's warnings: a preview counts as
  // partly read.
  bool partial = false;

  // Opens name for reading; false when it cannot be opened.
  bool OpenForReading();
  // Takes an open stream to write to.
  void AdoptForWriting(std::FILE* stream);
  bool IsOpen() const { return file != nullptr; }
  // How many files transfers hold open in the process: none once every transfer is over.
  static int OpenFiles() { return openFiles; }
  // The reader of a transfer opened for reading, the writer of one opened for writing.
  ByteReader& In();
  ByteWriter& Out();
  // Flushes and closes the file; false when the last bytes could not be written.
  bool CloseFile();

  // Row `row` of `rows` is done: every `every`th row reports the percentage, the rows
  // between poll for cancel; a cancel ends the transfer. Nothing while quiet.
  void RowDone(long long row, long long rows, int every = 1);

  // The document's lock, taken for the codec and given back by the clean-up. TryLockImage
  // answers false instead of ending the transfer, for code between a library's frames.
  void LockImage();
  bool TryLockImage();
  void UnlockImage() { lock.reset(); }

  // What the codec leaves to undo when it stops early (its buffers, a library handle, a
  // half-made image); run after the lock is given back.
  void OnCleanUp(std::function<void()> codecPart) { codecCleanUp = std::move(codecPart); }
  // A codec starts on the transfer (the preview reader tries several on one file).
  void BeginRun();
  // Gives back the lock, runs the codec's part and drops bytes not yet written, all once
  // a run, however often it is called: a cancel from closing the window and the failure
  // it causes meet here. The file itself closes with the transfer.
  void CleanUp();
  // Whether the clean-up has run in this run: a library working on the transfer stops at
  // its next poll when the window was closed under it.
  bool CleanedUp() const { return cleanedUp; }
  // The codec finished: its clean-up is no longer wanted.
  void Finished() { codecCleanUp = nullptr; }

 private:
  struct CloseStream {
    void operator()(std::FILE* f) const {
      --openFiles;
      std::fclose(f);
    }
  };
  static inline int openFiles = 0;
  std::unique_ptr<std::FILE, CloseStream> file;
  std::optional<ByteReader> reader;
  std::optional<ByteWriter> writer;
  std::function<void()> codecCleanUp;
  bool onMainDocument = false;
  std::function<void()> outerCleanUp;  // of a transfer on the main document this one runs inside
  std::optional<ImageLock> lock;
  bool cleanedUp = false;
};

}  // namespace quilla
