// quilla-cli info FILE...: reads each file as the open flow does and prints its type,
// size, depth and colour count.
#include <cstdio>

#include "cli/cli_commands.h"
#include "core/dib_image.h"
#include "formats/file_types.h"
#include "formats/image_files.h"

namespace quilla::cli {

int RunInfoCommand(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: quilla-cli info FILE...\n");
    return kUsage;
  }
  int status = kOk;
  for (int i = 1; i < argc; ++i) {
    DIBImage document;
    if (!ReadImageFile(document, argv[i])) {
      status = kFailed;
      continue;
    }
    std::printf("%s: %s, %dx%d, %u bpp, %u colours\n", argv[i], FileTypeName(document.fileType), document.Width(),
                document.Height(), document.BitsPerPixel(), document.ColorCount());
  }
  return status;
}

}  // namespace quilla::cli
