// One image in memory as a packed device-independent bitmap: a 40-byte header, a colour
// table, then the pixel rows bottom-up, each padded to 4 bytes, all in one block. 8-bit
// images hold colour-table indices, 24-bit ones blue, green, red bytes. The document also
// keeps the logical palette made from the colour table, a one-step swap undo, the state
// of a file transfer and the fill colours.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/pixel_memory.h"

namespace quilla {

struct BitmapInfoHeader {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

struct RgbQuad {
  uint8_t blue, green, red, reserved;
};
static_assert(sizeof(RgbQuad) == 4);

// A logical palette in the platform's layout (version 0x300); the display turns it into
// its own palette object.
struct PaletteEntry {
  uint8_t red, green, blue, flags;
};
struct LogicalPalette {
  uint16_t version = 0x300;
  std::vector<PaletteEntry> entries;
};

// An image block, zeroed when made. Empty means "no image".
using DibBlock = std::vector<uint8_t, PixelAllocator<uint8_t>>;

inline constexpr uint32_t kHeaderBytes = 40;
inline constexpr uint32_t kColorTableBytes = 1024;
inline constexpr uint32_t kOwnBitsOffset = kHeaderBytes + kColorTableBytes;  // 1064
inline constexpr uint32_t kSpareBytesPerRow = 16;

struct ImageRect {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; right < left is empty
  bool IsEmpty() const { return right < left || bottom < top; }
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  bool operator==(const ImageRect&) const = default;
};

// ColorCount of a header: 0 marks a true-colour image.
uint32_t HeaderColorCount(const BitmapInfoHeader& header);

// Program-wide fill colour for new true-colour images (0x00RRGGBB), white by default;
// the settings "CBackR", "CBackG", "CBackB" keep it.
uint32_t GlobalFillRgb();
void SetGlobalFillRgb(uint32_t rgb);

// Set by every command that alters the main image, cleared by open, save and new.
extern bool imageChanged;

class DIBImage {
 public:
  DIBImage();
  DIBImage(const DIBImage&) = delete;
  DIBImage& operator=(const DIBImage&) = delete;
  ~DIBImage();

  // Locking: the pointers below are valid only between Lock and Unlock.
  int Lock();
  void Unlock();
  void ForceUnlock();
  bool IsLocked() const { return lockCount > 0; }
  BitmapInfoHeader* GetHeader() const { return IsLocked() ? header : nullptr; }
  RgbQuad* GetColors() const { return IsLocked() ? colors : nullptr; }
  uint8_t* GetBits() const { return IsLocked() ? bits : nullptr; }
  uint32_t LockCount() const { return lockCount; }

  // Queries; all 0 without an image.
  bool HasImage() const { return !dib.empty(); }
  void GetSize(int& width, int& height) const;
  int Width() const;
  int Height() const;
  ImageRect GetImageRect() const;
  bool ClipToImage(ImageRect& rect) const;
  uint32_t ColorCount() const;
  uint32_t ColorTableBytes(bool threeByteForm = false) const;
  uint32_t BitsPerPixel() const;
  uint32_t RowStride() const;
  uint64_t ImageBytes() const;
  uint32_t SaveBitsPerPixel() const;
  uint32_t SaveRowStride() const;
  uint64_t SaveImageBytes() const;
  uint64_t SaveBlockBytes() const;
  bool IsTrueColor() const { return ColorCount() == 0; }
  bool IsOperable() const { return HasImage() && ioState != 1 && building == 0; }
  bool HasUndo() const { return undoKind != 0; }
  uint32_t UndoKind() const { return undoKind; }
  // Pointer to the first byte of picture row y (counted from the top); needs the lock.
  uint8_t* RowPointer(int y) const;
  // Row i of the block as stored: row 0 is the bottom line of the picture; needs the lock.
  uint8_t* StoredRow(int i) const { return RowPointer(Height() - 1 - i); }

  // Making and replacing images. Return 0 when memory runs out (document unchanged).
  int CreateImage(int width, int height, bool trueColor, const RgbQuad* colorTable, int colorCount,
                  uint32_t fillIndex);
  int CreateFilledImage(int width, int height, bool trueColor, const RgbQuad* colorTable, int colorCount,
                        uint32_t fillIndex);
  void ReplaceDib(DibBlock&& block);
  DibBlock DetachDib();
  void FreeImage();
  // A byte-for-byte copy of the image block; empty when memory runs out.
  DibBlock Duplicate() const;
  const DibBlock& Block() const { return dib; }
  void GetColors(RgbQuad* out) const;
  void SetColors(const RgbQuad* in);
  // The 1024-byte colour table as it stands (for undo and previews).
  std::array<RgbQuad, 256> ColorTable() const;
  std::optional<LogicalPalette> MakePalette() const;
  void RebuildPalette();
  // Raises the colour count of a palette image so that every index in its pixels has an
  // entry (the entries added are black): a file may use indices past its colours-used count.
  void CoverPixelIndices();
  const LogicalPalette* Palette() const { return palette ? &*palette : nullptr; }
  // Counts palette rebuilds, so a display can cache its own palette object.
  uint32_t PaletteSerial() const { return paletteSerial; }
  DibBlock MakeClipboardDib() const;
  // Adopts a standard packed DIB (from the clipboard) in the foreign layout.
  int AdoptForeignDib(DibBlock&& block);
  bool IsForeignLayout() const { return foreignLayout != 0; }
  // Puts a foreign block into the own layout, which row loops over the block need; false
  // when memory runs out, the image unchanged. Undo is kept: the picture is the same.
  bool TakeOwnLayout();

  int AllocRowBuffer(int width, bool trueColor);
  void FreeRowBuffer();
  uint8_t* RowBuffer() { return rowBuffer.empty() ? nullptr : rowBuffer.data(); }

  void SetFillRgb(uint32_t rgb);
  void SetFillIndex(uint32_t index) { fillIndex = index; }
  uint32_t GetFillRgb() const { return fillRgb; }
  uint32_t GetFillIndex() const { return fillIndex; }
  // colour is an index for a palette image or 0x00RRGGBB; isIndex says which.
  void FillRect(ImageRect rect, uint32_t colour, bool isIndex);
  // Nearest colour-table entry to an RGB colour (squared distance, first wins).
  uint32_t NearestIndex(uint32_t rgb) const;

  // Undo.
  void SetUndoImage(DibBlock&& oldBlock);
  void SetUndoColors(const RgbQuad* savedTable);
  void Undo();
  void DiscardUndo();
  void SetUndoEnabled(bool enabled);
  bool UndoEnabled() const { return undoEnabled != 0; }

  // Transfer state, read and set by the codecs and the open/save flows.
  uint32_t fileType = 0;
  uint32_t fileWidth = 0, fileHeight = 0;
  uint32_t ioState = 0;
  std::string fileName;  // of the last file read or written
  uint32_t building = 0;
  int32_t decodedWidth = 0, decodedHeight = 0;

 private:
  void PointInto();
  int AllocateOwnBlock(int width, int height, int bitsPerPixel, DibBlock& out) const;

  DibBlock dib;
  DibBlock undoDib;
  std::array<RgbQuad, 256> undoColors{};
  std::array<RgbQuad, 256> swapColors{};
  std::optional<LogicalPalette> palette;
  uint32_t paletteSerial = 0;
  uint32_t lockCount = 0;
  uint32_t undoKind = 0;
  BitmapInfoHeader* header = nullptr;
  RgbQuad* colors = nullptr;
  uint8_t* bits = nullptr;
  uint32_t fillRgb;
  uint32_t fillIndex = 0;
  std::vector<uint8_t> rowBuffer;
  uint32_t foreignLayout = 0;
  uint32_t undoEnabled = 1;
};

// The uniform colour cube CreateImage uses when no colour table is given: fills table
// and returns the number of entries written (red, green and blue levels in levels).
int UniformColorCube(int n, RgbQuad* table, int levels[3] = nullptr);

// Holds a document's lock for a scope, however the scope is left; false when the
// document has no image to lock.
class ImageLock {
 public:
  explicit ImageLock(DIBImage& document) : document(document), locked(document.Lock() != 0) {}
  ~ImageLock() {
    if (locked) document.Unlock();
  }
  ImageLock(const ImageLock&) = delete;
  ImageLock& operator=(const ImageLock&) = delete;
  explicit operator bool() const { return locked; }

 private:
  DIBImage& document;
  bool locked;
};

}  // namespace quilla
