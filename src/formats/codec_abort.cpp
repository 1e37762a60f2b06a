#include "formats/codec_abort.h"

#include <cctype>

#include "core/messages.h"

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

}  // namespace quilla
