// The numbering of image file types, their names, the open and save filter lists and the
// rules that turn a save name and a filter into a type.
#pragma once
#include <cstdint>
#include <string>

namespace quilla {

// Kept in DIBImage::fileType.
enum FileType : uint32_t {
  kUnknownFile = 0,
  kWindowsBmp = 1,
  kOs2Bmp = 2,
  kGif87a = 3,
  kGif89a = 4,
  kJpegFile = 5,
  kTargaFile = 6,
  kPcxFile = 7,
  kPnmFile = 8,
  kTiffFile = 9,
  kTiffCompressed = 10,
  kCannotOpen = 11,  // a probe's answer only, never stored
};
inline constexpr uint32_t kLastFileType = 10;

// The name save confirmations show ("Windows BMP", ..., "Unknown").
const char* FileTypeName(uint32_t type, bool grayscaleJpeg = false);

struct FileFilter {
  const char* description;
  const char* pattern;
};
inline constexpr int kOpenFilterCount = 9, kSaveFilterCount = 10;
// Indexed from 0; the dialogs count filters from 1.
extern const FileFilter kOpenFilters[kOpenFilterCount];
extern const FileFilter kSaveFilters[kSaveFilterCount];
// Extensions the dialog hook puts in the name field, one per filter position.
extern const char kOpenExtensions[kOpenFilterCount][5];
extern const char kSaveExtensions[kSaveFilterCount][5];

// The filters as one block of NUL-separated strings ending in an empty string.
std::string FilterBlock(const FileFilter* filters, int count);

// Save filter index (1..10) <-> FileType.
uint32_t FileTypeOfSaveIndex(int saveIndex);
// The open filter index (1..9) that follows opening a file of this type.
int OpenIndexOfFileType(uint32_t type);
// Out-of-range remembered indices become 1.
int ValidOpenIndex(int index);
int ValidSaveIndex(int index);

// The save filter index for a name typed in the save dialog, given the current index.
int SaveTypeFromName(const std::string& name, int currentIndex);

// The dialog hook's rule: the name field with its extension replaced by the one of the
// chosen filter position (position 2 uses position 1's). Empty names and names holding
// ';' are left alone.
std::string NameWithFilterExtension(const std::string& nameField, const char (*extensions)[5], int position);
// The name with the extension (".txt") added when its file part has none.
std::string NameWithDefaultExtension(const std::string& name, const char* extension);

}  // namespace quilla
