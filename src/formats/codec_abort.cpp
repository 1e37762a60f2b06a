#include "formats/codec_abort.h"

#include <cctype>
#include <new>

#include "core/messages.h"
#include "formats/transfer.h"

namespace quilla {

std::string ShownName(const char* fileName) {
  std::string shown = fileName ? fileName : "";
  for (char& c : shown) c = char(std::tolower(static_cast<unsigned char>(c)));
  return shown;
}

void AbortCodecWithMessage(const char* format, const char* fileName) {
  throw CodecAbort{AbortReason::Message, FormatMessageText(format, ShownName(fileName).c_str())};
}

void ReportCodecAbort(const CodecAbort& abort, const char* fileName) {
  std::string shown = ShownName(fileName);
  switch (abort.reason) {
    case AbortReason::ShortRead: ShowShortFile(shown.c_str()); break;
    case AbortReason::NoMemory: ShowNoMemory(); break;
    case AbortReason::WriteError: ShowWarning("Error writing:\n\n%s", shown.c_str()); break;
    case AbortReason::Message: ShowWarning("%s", abort.message.c_str()); break;
    case AbortReason::Cancelled:
    case AbortReason::Silent: break;
  }
}

int RunCodec(Transfer& transfer, CodecBody body, const AbortTexts& texts) {
  transfer.BeginRun();
  try {
    try {
      body(transfer);
      if (transfer.direction == Transfer::Direction::Write && !transfer.CloseFile()) AbortCodec(AbortReason::WriteError);
      transfer.Finished();
      return 1;
    } catch (const std::bad_alloc&) {
      AbortCodec(AbortReason::NoMemory);
    }
  } catch (CodecAbort& abort) {
    transfer.CleanUp();
    if (transfer.quiet) return 0;
    if (abort.reason == AbortReason::ShortRead && texts.shortRead) abort = {AbortReason::Message, texts.shortRead};
    if (abort.reason == AbortReason::WriteError && texts.writeError) abort = {AbortReason::Message, texts.writeError};
    ReportCodecAbort(abort, transfer.name.c_str());
    return 0;
  }
}

}  // namespace quilla
