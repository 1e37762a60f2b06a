// The adapter's side of libjpeg's hooks. libjpeg reports a fatal error through its error
// exit, which must not return: ours records what happened and longjmps back to the jump
// point set at the entry of the adapter's coding function. No C++ exception ever crosses
// the library's frames, and no object with a destructor lives in a frame that a longjmp
// skips: every hook below records a flag and jumps, the entries decide what to tell.
#pragma once
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

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
  char message[JMSG_LENGTH_MAX];
};

// Standard error manager with our error exit and message hook installed.
jpeg_error_mgr* InitErrorManager(ErrorManager& error, bool quiet, bool writing);

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

// Set by the transfer clean-up while an operation runs; the next poll stops it.
extern volatile bool abortRequested;
// How many operations are running (0 or 1: the adapter's state is shared).
extern int activeOperations;

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
