#include "formats/jpeg/jpeg_library.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "core/messages.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/jpeg/jpeg_options.h"

namespace quilla::jpeg {

volatile bool abortRequested = false;
int activeOperations = 0;

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
  if (!go || abortRequested) {
    error.cancelled = true;
    JumpBack(error);
  }
}

}  // namespace

jpeg_error_mgr* InitErrorManager(ErrorManager& error, bool quiet, bool writing) {
  jpeg_error_mgr* pub = jpeg_std_error(&error.pub);
  pub->error_exit = ErrorExit;
  pub->emit_message = EmitMessage;
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
