#include "shell/batch_compression_rules.h"

#include "formats/codec_abort.h"

namespace quilla {

std::string CompressedJpegName(const std::string& name) {
  const size_t fileStart = name.find_last_of("\\/:") + 1;  // 0 without a folder
  const size_t dot = name.rfind('.');
  const std::string stem = dot != std::string::npos && dot >= fileStart ? name.substr(0, dot) : name;
  return ShownName((stem + ".jpg").c_str());
}

}  // namespace quilla
