// A codec's jump point: any fatal error, short read or cancel deep inside a codec throws
// one CodecAbort, which the codec's entry catches; the entry runs its clean-up, tells the
// user (unless quiet) and returns 0.
#pragma once
#include <string>

namespace quilla {

enum class AbortReason {
  ShortRead,   // "Short file: %s"
  NoMemory,    // "Not enough memory !"
  WriteError,  // "Error writing:\n\n%s"
  Cancelled,   // the user cancelled: no message
  Silent,      // nothing to say (already told, or the failure is quiet by contract)
  Message,     // the text in message
};

struct CodecAbort {
  AbortReason reason;
  std::string message;
};

[[noreturn]] inline void AbortCodec(AbortReason reason) { throw CodecAbort{reason, {}}; }
// Formats the message with the file name shown lower-cased.
[[noreturn]] void AbortCodecWithMessage(const char* format, const char* fileName);

// Shows what the abort means to the user, naming the file lower-cased.
void ReportCodecAbort(const CodecAbort& abort, const char* fileName);

// File names are shown lower-cased.
std::string ShownName(const char* fileName);

}  // namespace quilla
