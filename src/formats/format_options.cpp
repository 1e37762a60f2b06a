#include "formats/format_options.h"

namespace quilla {

FormatOptions& CurrentFormatOptions() {
  static FormatOptions options;
  return options;
}

}  // namespace quilla
