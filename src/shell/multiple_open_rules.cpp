#include "shell/multiple_open_rules.h"

#include <algorithm>

#include "core/commands.h"
#include "resources/multiple_open_dialog_ids.h"

namespace quilla {

const MultipleOpenType kMultipleOpenTypes[kMultipleOpenTypeCount] = {
    {"JPEG (*.jpg)", "*.jpg"},  {"Windows (*.bmp)", "*.bmp"}, {"OS/2 (*.bmp)", "*.bmp"},
    {"GIF 87a/89a (*.gif)", "*.gif"}, {"TARGA (*.tga)", "*.tga"}, {"PCX (*.pcx)", "*.pcx"},
    {"PBM (*.ppm)", "*.ppm"},   {"TIFF (*.tif)", "*.tif"},    {"All files (*.*)", "*.*"},
};

int ClampTypePosition(int position) { return std::clamp(position, 0, kMultipleOpenTypeCount - 1); }

ListEntryKind KindOfListEntry(const std::string& entry) {
  if (!IsFolderEntry(entry)) return ListEntryKind::kFile;
  const bool drive = entry.size() == 5 && entry[1] == '-' && entry[3] == '-' && entry[4] == ']';
  return drive ? ListEntryKind::kDrive : ListEntryKind::kDirectory;
}

std::string DirectoryOfEntry(const std::string& entry) {
  switch (KindOfListEntry(entry)) {
    case ListEntryKind::kDrive: return std::string(1, entry[2]) + ":\\";
    case ListEntryKind::kDirectory: return entry.substr(1, entry.size() - (entry.back() == ']' ? 2 : 1));
    case ListEntryKind::kFile: break;
  }
  return {};
}

std::string LowerCased(std::string name) {
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return name;
}

std::string ListedName(const std::string& directory, const std::string& name) {
  // A root directory ends in its backslash already.
  const bool separated = directory.empty() || directory.back() == '\\' || directory.back() == '/';
  return LowerCased(directory + (separated ? "" : "\\") + name);
}

int DestinationOfButton(int button) {
  switch (button) {
    case IDC_MO_SLIDESHOW: return cmd::kDropSlideshow;
    case IDC_MO_CONTACT_SHEET: return cmd::kDropContactSheet;
    case IDC_MO_COMPRESSION: return cmd::kDropCompress;
    case IDC_MO_PRINTER: return cmd::kDropPrinter;
    default: return 0;
  }
}

PreviewPlacement PlacePreview(int paneWidth, int paneHeight, int width, int height) {
  PreviewPlacement p;
  p.x = (paneWidth - width) / 2;
  p.y = (paneHeight - height) / 2;
  p.frameLeft = p.x - 2;
  p.frameTop = p.y - 2;
  p.frameRight = p.x + width + 1;
  p.frameBottom = p.y + height + 1;
  p.lineLeft = p.x - 1;
  p.lineBottom = p.y + height + 2;
  p.lineRight = p.x + width + 2;
  p.lineTop = p.y - 1;
  return p;
}

}  // namespace quilla
