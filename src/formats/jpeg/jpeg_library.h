// The adapter's side of libjpeg's hooks. libjpeg reports a fatal error through its error
// exit, which must not return: ours records what happened and longjmps back to the jump
// point set at the entry of the adapter's coding function. No C++ exception ever crosses
// the library's frames, and no object with a destructor lives in a frame that a longjmp
// skips: every hook below records a flag and jumps, the entries decide what to tell.
#pragma once
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace quilla {
class ByteReader;
class ByteWriter;
class Transfer;
}  // namespace quilla

namespace quilla::jpeg {

struct ErrorManager {
  jpeg_error_mgr pub;  // first, so the library's pointer is ours
  std::jmp_buf jump;
  bool quiet;          // probes and previews: no message, no question, no caption
  bool writing;        // a warning asks "Abort compression?" rather than "Abort decompression?"
  bool warningSeen;    // the library issued at least one warning
  bool warningAsked;   // the user has been asked about a warning during this operation
  bool cancelled;      // the user stopped the operation: nothing more to say
  bool failed;         // a fatal error: message holds the library's text (empty when quiet)
  const Transfer* transfer;  // if any: the next poll stops the operation once its clean-up has run
  char message[JMSG_LENGTH_MAX];
};

// Standard error manager with our error exit and message hook installed.
// With a transfer, its quiet flag holds and the operation stops once its clean-up has run.
jpeg_error_mgr* InitErrorManager(ErrorManager& error, bool quiet, bool writing, const Transfer* transfer = nullptr);
// Whether the transfer's clean-up has run (the window was closed under the operation).
bool StopRequested(const ErrorManager& error);

// Ends the operation from inside the library's frames: back to the jump point.
[[noreturn]] void JumpBack(ErrorManager& error);

// Progress of a read: the percentage in the caption and the cancel polls of a full-grain
// read, and for every read the bound on the number of scans a hostile file may hold.
struct ProgressMonitor {
  jpeg_progress_mgr pub;  // first, as above
  ErrorManager* error;
  bool report;            // full grain: caption and polls
  bool twoPassQuantizing;
  int lastShown;
};
// A progressive file of many scans costs a pass over the whole image per scan; real
// encoders write about ten, the format allows thousands.
inline constexpr int kMaxScans = 100;
void InitProgressMonitor(ProgressMonitor& monitor, ErrorManager& error, bool report, bool twoPassQuantizing);

// The library's source and destination over the transfer's block reader and writer; the
// managers live in the caller's session record. A file that ends early reads as an end of
// image after the library's warning; a failed write is the library's write error.
struct SourceManager {
  jpeg_source_mgr pub;  // first, as above
  ByteReader* in;
  bool startOfFile;
  JOCTET buffer[65536];
};
struct DestinationManager {
  jpeg_destination_mgr pub;
  ByteWriter* out;
  JOCTET buffer[65536];
};
void UseSource(j_decompress_ptr cinfo, SourceManager& source, ByteReader& in);
void UseDestination(j_compress_ptr cinfo, DestinationManager& destination, ByteWriter& out);

// The library's memory for one operation (the backing store is not reached below it).
long LibraryMemoryLimit();
// Hands the temporary directory and the "UseTmpFiles" flag to the library's memory manager.
void HandMemoryOptions(j_common_ptr cinfo);

// User-interface calls that never throw (they run inside the library's frames).
int SafeReportPercent(int percent);
int SafeReportRows(long long done, long long total);
int SafePollCancel();
void SafeSetCaption(const char* text);
void SafeRestoreCaption();

}  // namespace quilla::jpeg
