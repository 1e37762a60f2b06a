// What the Multiple File Open dialog decides without the platform: its type list, the kinds
// of entries in its left list, the names it puts in the right list, the destinations of its
// radio buttons and where the preview pane puts a picture.
#pragma once
#include <string>

namespace quilla {

struct MultipleOpenType {
  const char* description;
  const char* pattern;
};
inline constexpr int kMultipleOpenTypeCount = 9;
extern const MultipleOpenType kMultipleOpenTypes[kMultipleOpenTypeCount];
// The position in the type list for a type index from 0, or for "OpenType" - 1, kept in the list.
int ClampTypePosition(int position);

// The left list holds file names, sub-directories as "[name]" and drives as "[-c-]".
enum class ListEntryKind { kFile, kDirectory, kDrive };
ListEntryKind KindOfListEntry(const std::string& entry);
// Directories and drives are never added to the right list nor previewed.
inline bool IsFolderEntry(const std::string& entry) { return !entry.empty() && entry.front() == '['; }
// Where a double click on a directory or drive entry goes: the sub-directory's name (from
// the current directory) or the drive's root, "c:\".
std::string DirectoryOfEntry(const std::string& entry);

// A name as the user sees it: ASCII letters lower-cased, the others as they are.
std::string LowerCased(std::string name);
// The directory and a name in it, one backslash between them, lower-cased.
std::string ListedName(const std::string& directory, const std::string& name);

// The destination code of a radio button: 111 slideshow, 112 contact sheet, 113 batch
// compression and 114 printer give 111, 114, 112 and 113; 0 for another control.
int DestinationOfButton(int button);

// The preview pane keeps 6 pixels of its client size around the picture's box.
inline constexpr int kPreviewMargin = 6;
// A picture of width x height centred in the pane: its corner, the black frame's rectangle
// (right and bottom edges exclusive, as GDI draws rectangles) and the white line that runs
// from (lineLeft, lineBottom) to (lineRight, lineBottom) and up to (lineRight, lineTop).
struct PreviewPlacement {
  int x = 0, y = 0;
  int frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0;
  int lineLeft = 0, lineBottom = 0, lineRight = 0, lineTop = 0;
};
PreviewPlacement PlacePreview(int paneWidth, int paneHeight, int width, int height);

}  // namespace quilla
