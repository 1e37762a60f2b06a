// A codec's jump point: any fatal error, short read or cancel deep inside a codec throws
// one CodecAbort, which RunCodec catches: it runs the transfer's clean-up, tells the user
// (unless the transfer is quiet) and returns 0.
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

class Transfer;

// The texts a codec shows instead of the common ones; nullptr keeps the common one.
struct AbortTexts {
  const char* shortRead = nullptr;   // instead of "Short file: %s"
  const char* writeError = nullptr;  // instead of "Error writing:\n\n%s"
};

// Runs a codec's body over a transfer: 1 when it finished, else 0 after the clean-up and
// the message. A written file is flushed and closed inside, so a failed close is a write
// error like any other.
using CodecBody = void (*)(Transfer& transfer);
int RunCodec(Transfer& transfer, CodecBody body, const AbortTexts& texts = {});

// File names are shown lower-cased.
std::string ShownName(const char* fileName);

}  // namespace quilla
