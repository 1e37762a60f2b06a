// quilla-cli convert: reads INPUT as the open flow does, applies the operations in the
// order given and writes OUTPUT. A failed conversion leaves OUTPUT as it was.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/file_types.h"
#include "formats/format_options.h"
#include "formats/image_files.h"
#include "retouch/resize.h"

namespace quilla::cli {

namespace {

constexpr const char kConvertUsage[] =
    "convert [--ini FILE] [--set KEY=VALUE]... [--type N] [OPERATION]... INPUT OUTPUT";

// Operations of the command line whose engine is not part of this program yet.
constexpr const char* kNotYetAvailable[] = {"--colors", "--win16",  "--truecolor",   "--retouch", "--macro",
                                            "--filter", "--grayscale", "--negative", "--redimension", "--crop",
                                            "--flip-h", "--flip-v", "--rotate"};

int UsageError(const char* format, const char* argument) {
  std::fprintf(stderr, "quilla-cli convert: ");
  std::fprintf(stderr, format, argument);
  std::fprintf(stderr, "\nusage: quilla-cli %s\n", kConvertUsage);
  return kUsage;
}

bool ParseInt(const char* text, long min, long max, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return *text && *end == '\0' && value >= min && value <= max;
}

// The options the file formats read, by their settings keys.
bool SetFormatOption(const std::string& key, const char* value) {
  FormatOptions& options = CurrentFormatOptions();
  long n = 0;
  if (!ParseInt(value, -2147483647L, 2147483647L, n)) return false;
  if (key == "OpenType") options.openType = ValidOpenIndex(int(n));
  else if (key == "SaveType") options.saveType = ValidSaveIndex(int(n));
  else if (key == "WarnAllSaves") options.warnAllSaves = n != 0;
  else if (key == "WarnJpegGsSave") options.warnJpegGsSave = n != 0;
  else if (key == "SaveJpegGS") options.saveJpegGs = n != 0;
  else if (key == "ResizeOnLoad") options.resizeOnLoad = int(n);
  else return false;
  return true;
}

struct Resize {
  int width, height;
};

bool ParseSize(const char* text, Resize& size) {
  const char* x = std::strchr(text, 'x');
  if (!x) return false;
  long w = 0, h = 0;
  std::string width(text, x);
  return ParseInt(width.c_str(), 1, kMaxImageSide, w) && ParseInt(x + 1, 1, kMaxImageSide, h) &&
         (size = {int(w), int(h)}, true);
}

}  // namespace

int RunConvertCommand(int argc, char** argv) {
  std::vector<Resize> resizes;
  std::vector<const char*> files;
  long type = 0;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (std::strcmp(arg, "--ini") == 0) {
      return UsageError("%s is not available: this build has no settings file support yet", arg);
    } else if (std::strcmp(arg, "--set") == 0) {
      if (!hasValue) return UsageError("%s needs KEY=VALUE", arg);
      std::string setting = argv[++i];
      size_t eq = setting.find('=');
      if (eq == std::string::npos || !SetFormatOption(setting.substr(0, eq), setting.c_str() + eq + 1))
        return UsageError("cannot set '%s' (an integer option of the file formats is expected)", setting.c_str());
    } else if (std::strcmp(arg, "--type") == 0) {
      if (!hasValue || !ParseInt(argv[++i], 1, kLastFileType, type))
        return UsageError("%s needs a file type from 1 to 10", "--type");
    } else if (std::strcmp(arg, "--resize") == 0) {
      Resize size{};
      if (!hasValue || !ParseSize(argv[++i], size)) return UsageError("%s needs WxH", arg);
      resizes.push_back(size);
    } else if (arg[0] == '-' && arg[1] == '-') {
      for (const char* name : kNotYetAvailable)
        if (std::strcmp(arg, name) == 0) return UsageError("operation %s is not available in this build yet", arg);
      return UsageError("unknown option %s", arg);
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) return UsageError("%s", "expects INPUT and OUTPUT");

  DIBImage document;
  SetMainDocument(&document);
  int ok = ReadImageFile(document, files[0]);
  for (size_t i = 0; ok && i < resizes.size(); ++i) {
    ok = ResizeImage(document, resizes[i].width, resizes[i].height);
    if (!ok) ShowNoMemory();
    document.DiscardUndo();
  }
  if (ok) {
    document.fileType =
        type ? uint32_t(type) : FileTypeOfSaveIndex(SaveTypeFromName(files[1], CurrentFormatOptions().saveType));
    ok = WriteImageFile(document, files[1]);
  }
  SetMainDocument(nullptr);
  return ok ? kOk : kFailed;
}

}  // namespace quilla::cli
