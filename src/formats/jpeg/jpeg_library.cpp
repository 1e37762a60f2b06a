#include "formats/jpeg/jpeg_library.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include <jerror.h>

#include "core/messages.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/jpeg/jpeg_options.h"
#include "formats/transfer.h"

namespace quilla::jpeg {

namespace {

ErrorManager& ManagerOf(j_common_ptr cinfo) { return *reinterpret_cast<ErrorManager*>(cinfo->err); }

// Asks whether a warning should end the operation; any failure to ask ends it.
bool AskAbort(const char* text, bool writing) noexcept {
  try {
    const char* format = writing ? "%s.\nAbort compression?" : "%s.\nAbort decompression?";
    return AskYesNo(format, text) == MsgResult::Yes;
  } catch (...) {
    return true;
  }
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  ErrorManager& error = ManagerOf(cinfo);
  error.failed = true;
  if (!error.quiet) (*cinfo->err->format_message)(cinfo, error.message);
  JumpBack(error);
}

void EmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  ErrorManager& error = ManagerOf(cinfo);
  ++cinfo->err->num_warnings;
  error.warningSeen = true;
  // One question per operation: a damaged file can raise a warning per block, and after
  // "No" the user has said to go on with what can be decoded.
  if (error.quiet || error.warningAsked) return;
  error.warningAsked = true;
  char text[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, text);
  if (AskAbort(text, error.writing)) {
    error.cancelled = true;
    JumpBack(error);
  }
}

void ProgressHook(j_common_ptr cinfo) {
  auto& monitor = *reinterpret_cast<ProgressMonitor*>(cinfo->progress);
  ErrorManager& error = *monitor.error;
  if (cinfo->is_decompressor) {
    auto dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > kMaxScans) {
      error.failed = true;
      if (!error.quiet)
        std::snprintf(error.message, sizeof error.message, "Corrupt JPEG data: more than %d scans", kMaxScans);
      JumpBack(error);
    }
  }
  if (!monitor.report) return;
  jpeg_progress_mgr& p = monitor.pub;
  if (p.pass_limit <= 0) return;
  long counter = std::clamp(p.pass_counter, 0L, p.pass_limit);
  int percent = monitor.twoPassQuantizing ? int(counter * 50 / p.pass_limit) + (p.completed_passes > 0 ? 50 : 0)
                                          : int(counter * 100 / p.pass_limit);
  int delta = percent - monitor.lastShown;
  int go = 1;
  if (delta > 16) {
    go = SafeReportPercent(percent);
    monitor.lastShown = percent;
  } else if (delta % 4 == 0) {
    go = SafePollCancel();
  }
  if (!go || StopRequested(error)) {
    error.cancelled = true;
    JumpBack(error);
  }
}

SourceManager& SourceOf(j_decompress_ptr cinfo) { return *reinterpret_cast<SourceManager*>(cinfo->src); }
DestinationManager& DestinationOf(j_compress_ptr cinfo) { return *reinterpret_cast<DestinationManager*>(cinfo->dest); }

void InitSource(j_decompress_ptr cinfo) { SourceOf(cinfo).startOfFile = true; }

boolean FillInputBuffer(j_decompress_ptr cinfo) {
  SourceManager& source = SourceOf(cinfo);
  size_t got = source.in->ReadSome(source.buffer, sizeof source.buffer);
  if (got == 0) {
    if (source.startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    // The end of the file: a fake end-of-image marker lets the library finish.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    source.buffer[0] = 0xFF;
    source.buffer[1] = JPEG_EOI;
    got = 2;
  }
  source.pub.next_input_byte = source.buffer;
  source.pub.bytes_in_buffer = got;
  source.startOfFile = false;
  return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  SourceManager& source = SourceOf(cinfo);
  size_t skip = size_t(count);
  if (skip <= source.pub.bytes_in_buffer) {
    source.pub.next_input_byte += skip;
    source.pub.bytes_in_buffer -= skip;
    return;
  }
  skip -= source.pub.bytes_in_buffer;
  source.pub.bytes_in_buffer = 0;
  ByteReader& in = *source.in;
  // Past the end the next fill finds nothing and ends the image.
  if (!in.TrySeek(skip > in.Remaining() ? in.Size() : in.Tell() + skip)) in.TrySeek(in.Size());
}

void TermSource(j_decompress_ptr) {}

void InitDestination(j_compress_ptr cinfo) {
  DestinationManager& destination = DestinationOf(cinfo);
  destination.pub.next_output_byte = destination.buffer;
  destination.pub.free_in_buffer = sizeof destination.buffer;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  DestinationManager& destination = DestinationOf(cinfo);
  if (!destination.out->TryWrite(destination.buffer, sizeof destination.buffer)) ERREXIT(cinfo, JERR_FILE_WRITE);
  InitDestination(cinfo);
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  DestinationManager& destination = DestinationOf(cinfo);
  size_t pending = sizeof destination.buffer - destination.pub.free_in_buffer;
  if (!destination.out->TryWrite(destination.buffer, pending)) ERREXIT(cinfo, JERR_FILE_WRITE);
}

}  // namespace

void UseSource(j_decompress_ptr cinfo, SourceManager& source, ByteReader& in) {
  source.in = &in;
  source.pub.init_source = InitSource;
  source.pub.fill_input_buffer = FillInputBuffer;
  source.pub.skip_input_data = SkipInputData;
  source.pub.resync_to_restart = jpeg_resync_to_restart;
  source.pub.term_source = TermSource;
  source.pub.next_input_byte = nullptr;
  source.pub.bytes_in_buffer = 0;
  cinfo->src = &source.pub;
}

void UseDestination(j_compress_ptr cinfo, DestinationManager& destination, ByteWriter& out) {
  destination.out = &out;
  destination.pub.init_destination = InitDestination;
  destination.pub.empty_output_buffer = EmptyOutputBuffer;
  destination.pub.term_destination = TermDestination;
  cinfo->dest = &destination.pub;
}

bool StopRequested(const ErrorManager& error) { return error.transfer && error.transfer->CleanedUp(); }

jpeg_error_mgr* InitErrorManager(ErrorManager& error, bool quiet, bool writing, const Transfer* transfer) {
  jpeg_error_mgr* pub = jpeg_std_error(&error.pub);
  pub->error_exit = ErrorExit;
  pub->emit_message = EmitMessage;
  error.transfer = transfer;
  error.quiet = quiet;
  error.writing = writing;
  error.warningSeen = error.warningAsked = error.cancelled = error.failed = false;
  error.message[0] = '\0';
  return pub;
}

void JumpBack(ErrorManager& error) { std::longjmp(error.jump, 1); }

void InitProgressMonitor(ProgressMonitor& monitor, ErrorManager& error, bool report, bool twoPassQuantizing) {
  std::memset(&monitor.pub, 0, sizeof monitor.pub);
  monitor.pub.progress_monitor = ProgressHook;
  monitor.error = &error;
  monitor.report = report;
  monitor.twoPassQuantizing = twoPassQuantizing;
  monitor.lastShown = -1;
}

long LibraryMemoryLimit() { return long(std::min<uint64_t>(kMaxBlockBytes, uint64_t(LONG_MAX))); }

void HandMemoryOptions(j_common_ptr cinfo) {
  // The installed library keeps all its working memory in main memory (it was built
  // without a file backing store), so the temporary directory and the "UseTmpFiles" flag
  // have nothing to steer there. What it may take is bounded instead: past the limit a
  // request for backing store fails with the library's own message.
  cinfo->mem->max_memory_to_use = LibraryMemoryLimit();
}

int SafeReportPercent(int percent) {
  try {
    return ReportProgressNoCleanup(percent, 100);
  } catch (...) {
    return 0;
  }
}

int SafeReportRows(long long done, long long total) {
  try {
    return ReportProgressNoCleanup(done, total);
  } catch (...) {
    return 0;
  }
}

int SafePollCancel() {
  try {
    return PollCancel();
  } catch (...) {
    return 0;
  }
}

void SafeSetCaption(const char* text) {
  try {
    CurrentHost().SetWindowTitle(text);
  } catch (...) {
  }
}

void SafeRestoreCaption() {
  try {
    const std::string& name = ProgressName();
    if (name.empty()) return;
    int percent = LastPercent();
    CurrentHost().SetWindowTitle(percent >= 0 ? FormatMessageText("%s-%02d%%", name.c_str(), percent) : name);
  } catch (...) {
  }
}

}  // namespace quilla::jpeg
