#include "formats/file_types.h"

#include <cctype>

namespace quilla {

const char* FileTypeName(uint32_t type, bool grayscaleJpeg) {
  static const char* const kNames[] = {"Unknown", "Windows BMP", "OS/2 BMP", "GIF87a", "GIF89a", "JPEG",
                                       "TGA",     "PCX",         "PBM",      "TIFF",   "TIFF compressed"};
  if (type == kJpegFile && grayscaleJpeg) return "GRAYSCALE JPEG";
  return type <= kLastFileType ? kNames[type] : kNames[0];
}

const FileFilter kOpenFilters[kOpenFilterCount] = {
    {"JPEG (*.jpg)", "*.jpg"},
    {"Windows (*.bmp,*.dib)", "*.bmp;*.dib"},
    {"OS/2 (*.bmp,*.dib)", "*.bmp;*.dib"},
    {"GIF 87a/89a (*.gif)", "*.gif"},
    {"TARGA (*.tga)", "*.tga"},
    {"PCX (*.pcx)", "*.pcx"},
    {"PPM (*.ppm,*.pgm,*.pbm)", "*.ppm;*.pgm;*.pbm"},
    {"TIFF (*.tif)", "*.tif"},
    {"All Files (*.*)", "*.*"},
};

const FileFilter kSaveFilters[kSaveFilterCount] = {
    {"JPEG (*.jpg)", "*.jpg"},
    {"Windows (*.bmp,*.dib)", "*.bmp;*.dib"},
    {"OS/2 (*.bmp,*.dib)", "*.bmp;*.dib"},
    {"GIF 87a (*.gif)", "*.gif"},
    {"GIF 89a (*.gif)", "*.gif"},
    {"TARGA (*.tga)", "*.tga"},
    {"PCX (*.pcx)", "*.pcx"},
    {"PPM (*.ppm,*.pgm,*.pbm)", "*.ppm;*.pgm;*.pbm"},
    {"TIFF uncompressed (*.tif)", "*.tif"},
    {"TIFF compressed (*.tif)", "*.tif"},
};

// ".dib" at the OS/2 position serves only the name matching of the save list.
const char kOpenExtensions[kOpenFilterCount][5] = {".jpg", ".bmp", ".dib", ".gif", ".tga",
                                                   ".pcx", ".ppm", ".tif", ""};
const char kSaveExtensions[kSaveFilterCount][5] = {".jpg", ".bmp", ".dib", ".gif", ".gif",
                                                   ".tga", ".pcx", ".pbm", ".tif", ".tif"};

std::string FilterBlock(const FileFilter* filters, int count) {
  std::string block;
  for (int i = 0; i < count; ++i) {
    block.append(filters[i].description).push_back('\0');
    block.append(filters[i].pattern).push_back('\0');
  }
  block.push_back('\0');
  return block;
}

uint32_t FileTypeOfSaveIndex(int saveIndex) {
  static const uint32_t kTypes[kSaveFilterCount] = {kJpegFile, kWindowsBmp, kOs2Bmp, kGif87a, kGif89a,
                                                    kTargaFile, kPcxFile, kPnmFile, kTiffFile, kTiffCompressed};
  return saveIndex >= 1 && saveIndex <= kSaveFilterCount ? kTypes[saveIndex - 1] : kUnknownFile;
}

int OpenIndexOfFileType(uint32_t type) {
  switch (type) {
    case kWindowsBmp: return 2;
    case kOs2Bmp: return 3;
    case kGif87a:
    case kGif89a: return 4;
    case kTargaFile: return 5;
    case kPcxFile: return 6;
    case kPnmFile: return 7;
    case kTiffFile:
    case kTiffCompressed: return 8;
    default: return 1;
  }
}

int ValidOpenIndex(int index) { return index >= 1 && index <= kOpenFilterCount ? index : 1; }
int ValidSaveIndex(int index) { return index >= 1 && index <= kSaveFilterCount ? index : 1; }

int SaveTypeFromName(const std::string& name, int currentIndex) {
  // The extension runs from the first '.' anywhere in the path, so a dotted directory
  // name matches nothing and the chosen filter decides.
  size_t dot = name.find('.');
  std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
  for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
  static const int kAnswers[kSaveFilterCount] = {1, 2, 2, 4, 5, 6, 7, 8, 9, 10};
  for (int p = 0; p < kSaveFilterCount; ++p) {
    if (extension != kSaveExtensions[p]) continue;
    if (p == 3 && currentIndex == 5) return 5;    // GIF 89a stays
    if (p == 8 && currentIndex == 10) return 10;  // compressed TIFF stays
    return kAnswers[p];
  }
  return currentIndex;
}

std::string NameWithFilterExtension(const std::string& nameField, const char (*extensions)[5], int position) {
  if (nameField.empty() || nameField.find(';') != std::string::npos) return nameField;
  const char* extension = extensions[position == 2 ? 1 : position];
  // The extension is the last '.' of the file part, after any drive or directory.
  size_t fileStart = nameField.find_last_of("\\/:");
  fileStart = fileStart == std::string::npos ? 0 : fileStart + 1;
  size_t dot = nameField.find_last_of('.');
  std::string stem = dot != std::string::npos && dot >= fileStart ? nameField.substr(0, dot) : nameField;
  return stem + extension;
}

std::string NameWithDefaultExtension(const std::string& name, const char* extension) {
  const size_t fileStart = name.find_last_of("\\/:");
  const size_t dot = name.find('.', fileStart == std::string::npos ? 0 : fileStart + 1);
  return dot == std::string::npos ? name + extension : name;
}

}  // namespace quilla
