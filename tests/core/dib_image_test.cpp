#include "core/dib_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "core/messages.h"
#include "support/scripted_host.h"

namespace quilla {

// Byte x of picture row y (counted from the top), read under the lock.
static uint8_t ByteAt(DIBImage& doc, int y, int x) {
  ImageLock lock(doc);
  return doc.RowPointer(y)[x];
}
// Where the pixel rows start in the block.
static long BitsOffset(DIBImage& doc) {
  ImageLock lock(doc);
  return long(doc.GetBits() - reinterpret_cast<uint8_t*>(doc.GetHeader()));
}

class DIBImageTest : public ::testing::Test {
 protected:
  InstalledHost host;
};

TEST_F(DIBImageTest, EmptyDocumentAnswersZero) {
  DIBImage doc;
  EXPECT_EQ(doc.Lock(), 0);
  EXPECT_EQ(doc.Width(), 0);
  EXPECT_EQ(doc.ColorCount(), 0u);
  EXPECT_EQ(doc.RowStride(), 0u);
  EXPECT_EQ(doc.SaveBlockBytes(), 0u);
  EXPECT_TRUE(doc.GetImageRect().IsEmpty());
  EXPECT_FALSE(doc.IsOperable());
  EXPECT_TRUE(doc.Duplicate().empty());
}

TEST_F(DIBImageTest, OnePixelPaletteImageLayout) {
  DIBImage doc;
  ASSERT_EQ(doc.CreateImage(1, 1, false, nullptr, 0, 0), 1);
  EXPECT_EQ(doc.RowStride(), 4u);
  EXPECT_EQ(doc.Block().size(), 40u + 1024 + 4 + 16);
  EXPECT_EQ(BitsOffset(doc), 1064);
  ImageLock lock(doc);
  EXPECT_EQ(doc.GetHeader()->biClrUsed, 256u);
  EXPECT_EQ(doc.GetHeader()->biSizeImage, 4u);
}

TEST_F(DIBImageTest, LockNestsUnlockNeverGoesNegativeAndImageLockHoldsItForItsScope) {
  DIBImage doc;
  EXPECT_FALSE(ImageLock(doc)) << "nothing to lock";
  doc.CreateImage(3, 2, true, nullptr, 0, 0);
  doc.Unlock();
  EXPECT_EQ(doc.LockCount(), 0u);
  doc.Lock();
  doc.Lock();
  doc.Unlock();
  EXPECT_NE(doc.GetBits(), nullptr);
  doc.Unlock();
  EXPECT_EQ(doc.GetBits(), nullptr);
  doc.Lock();
  doc.Lock();
  doc.ForceUnlock();
  EXPECT_EQ(doc.LockCount(), 0u);
  EXPECT_EQ(doc.GetHeader(), nullptr);
  {
    ImageLock lock(doc);
    EXPECT_TRUE(lock);
    EXPECT_EQ(doc.LockCount(), 1u);
  }
  EXPECT_EQ(doc.LockCount(), 0u);
}

// Small blocks come from the heap, large ones from fresh pages: both start all zero, also
// where a freed image of the same size held colour just before.
TEST_F(DIBImageTest, NewImagesAreZeroWhateverMemoryTheyReuse) {
  for (int width : {7, 1200}) {
    DIBImage doc;
    for (int round = 0; round < 2; ++round) {
      ASSERT_EQ(doc.CreateImage(width, 400, true, nullptr, 0, 0), 1);
      ImageLock lock(doc);
      const uint8_t* bits = doc.GetBits();
      const uint8_t* end = bits + doc.ImageBytes();
      EXPECT_EQ(std::find_if(bits, end, [](uint8_t b) { return b != 0; }), end) << width << " round " << round;
      doc.FillRect(doc.GetImageRect(), 0xFFFFFF, false);
    }
  }
}

TEST_F(DIBImageTest, ColorCountFollowsHeader) {
  DIBImage doc;
  RgbQuad table[17] = {};
  doc.CreateImage(5, 5, false, table, 17, 0);
  EXPECT_EQ(doc.ColorCount(), 17u);
  EXPECT_EQ(doc.ColorTableBytes(), 68u);
  EXPECT_EQ(doc.ColorTableBytes(true), 51u);
  EXPECT_EQ(doc.SaveBitsPerPixel(), 8u);
  EXPECT_EQ(BitsOffset(doc), 1064);  // own layout
  doc.CreateImage(5, 5, false, table, 16, 0);
  EXPECT_EQ(doc.SaveBitsPerPixel(), 4u);
  doc.CreateImage(5, 5, false, table, 2, 0);
  EXPECT_EQ(doc.SaveBitsPerPixel(), 1u);
  EXPECT_EQ(doc.SaveRowStride(), 4u);
  doc.CreateImage(5, 5, true, nullptr, 0, 0);
  EXPECT_TRUE(doc.IsTrueColor());
  EXPECT_EQ(doc.SaveBitsPerPixel(), 24u);
  EXPECT_EQ(doc.RowStride(), 16u);  // 15 bytes padded
  EXPECT_EQ(doc.SaveBlockBytes(), 40u + 16 * 5);
}

TEST_F(DIBImageTest, HeaderColorCountRules) {
  struct Row { uint16_t bits; uint32_t used, count; };
  for (Row row : {Row{24, 5, 0}, Row{4, 0, 16}, Row{1, 0, 2}, Row{8, 17, 17}}) {
    BitmapInfoHeader h{};
    h.biBitCount = row.bits;
    h.biClrUsed = row.used;
    EXPECT_EQ(HeaderColorCount(h), row.count) << row.bits << " bits, " << row.used << " used";
  }
}

TEST_F(DIBImageTest, RefusesSizesThatOverflow) {
  DIBImage doc;
  doc.CreateImage(2, 2, true, nullptr, 0, 0);
  EXPECT_EQ(doc.CreateImage(1 << 20, 1 << 20, true, nullptr, 0, 0), 0);
  EXPECT_EQ(doc.CreateImage(0, 5, true, nullptr, 0, 0), 0);
  EXPECT_EQ(doc.CreateImage(5, -1, true, nullptr, 0, 0), 0);
  EXPECT_EQ(doc.Width(), 2) << "a failed create leaves the image as it was";
}

TEST_F(DIBImageTest, FillTrueColorRectBottomUp) {
  DIBImage doc;
  doc.CreateImage(4, 3, true, nullptr, 0, 0);
  doc.FillRect({1, 0, 2, 0}, 0x112233, false);  // top row, x 1..2
  ImageLock lock(doc);
  const uint8_t* topRow = doc.GetBits() + 2 * doc.RowStride();  // stored last
  EXPECT_EQ(std::vector<uint8_t>(topRow, topRow + 6), (std::vector<uint8_t>{0, 0, 0, 0x33, 0x22, 0x11}))
      << "blue first";
  EXPECT_EQ(doc.GetBits()[3], 0);
}

TEST_F(DIBImageTest, FillClipsToImage) {
  DIBImage doc;
  doc.CreateImage(2, 2, false, nullptr, 16, 0);
  doc.FillRect({-5, -5, 100, 0}, 3, true);
  EXPECT_EQ(ByteAt(doc, 0, 0), 3);
  EXPECT_EQ(ByteAt(doc, 0, 1), 3);
  EXPECT_EQ(ByteAt(doc, 1, 0), 0);
  doc.FillRect({5, 5, 9, 9}, 7, true);  // entirely outside: nothing happens
}

TEST_F(DIBImageTest, FillWithIndexPastColorCountUsesZero) {
  DIBImage doc;
  doc.CreateImage(2, 1, false, nullptr, 16, 0);
  doc.FillRect(doc.GetImageRect(), 5, true);
  doc.FillRect(doc.GetImageRect(), 16, true);
  EXPECT_EQ(ByteAt(doc, 0, 0), 0);
}

TEST_F(DIBImageTest, FillPaletteWithRgbTakesNearestEntry) {
  RgbQuad table[3] = {{0, 0, 0, 0}, {0, 0, 250, 0}, {255, 255, 255, 0}};
  DIBImage doc;
  doc.CreateImage(1, 1, false, table, 3, 0);
  doc.FillRect(doc.GetImageRect(), 0xF00A0A, false);  // reddish
  EXPECT_EQ(ByteAt(doc, 0, 0), 1);
}

TEST_F(DIBImageTest, FillTrueColorWithIndexUsesFillRgb) {
  DIBImage doc;
  doc.CreateImage(1, 1, true, nullptr, 0, 0);
  doc.SetFillRgb(0x0000FF);
  doc.FillRect(doc.GetImageRect(), 2, true);
  EXPECT_EQ(ByteAt(doc, 0, 0), 0xFF);
  EXPECT_EQ(ByteAt(doc, 0, 2), 0x00);
  EXPECT_EQ(GlobalFillRgb(), 0x0000FFu);
  DIBImage later;
  EXPECT_EQ(later.GetFillRgb(), 0x0000FFu) << "new documents start with the program-wide fill colour";
  SetGlobalFillRgb(0xFFFFFF);
}

TEST_F(DIBImageTest, CreateFilledUsesFillColour) {
  DIBImage doc;
  doc.CreateFilledImage(2, 2, false, nullptr, 0, 9);
  EXPECT_EQ(ByteAt(doc, 1, 1), 9);
  doc.CreateFilledImage(1, 1, true, nullptr, 0, 0);
  EXPECT_EQ(ByteAt(doc, 0, 0), 0xFF);  // white by default
}

TEST_F(DIBImageTest, UndoImageSwapsTwice) {
  DIBImage doc;
  doc.CreateImage(2, 2, true, nullptr, 0, 0);
  DibBlock before = doc.Duplicate();
  DIBImage temp;
  temp.CreateImage(3, 1, false, nullptr, 0, 0);
  doc.SetUndoImage(doc.DetachDib());
  doc.ReplaceDib(temp.DetachDib());
  EXPECT_TRUE(doc.HasUndo());
  EXPECT_EQ(doc.Width(), 3);
  EXPECT_NE(doc.Palette(), nullptr);
  doc.Undo();
  EXPECT_EQ(doc.Width(), 2);
  EXPECT_EQ(doc.Block(), before);
  EXPECT_EQ(doc.Palette(), nullptr) << "a true-colour image has no palette";
  doc.Undo();
  EXPECT_EQ(doc.Width(), 3) << "a second undo redoes";
  EXPECT_EQ(doc.UndoKind(), 1u);
}

TEST_F(DIBImageTest, UndoColorsSwapsTwice) {
  DIBImage doc;
  RgbQuad original[4] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}, {10, 11, 12, 0}};
  doc.CreateImage(2, 2, false, original, 4, 0);
  std::array<RgbQuad, 256> saved = doc.ColorTable();
  RgbQuad changed[4] = {{9, 9, 9, 0}, {9, 9, 9, 0}, {9, 9, 9, 0}, {9, 9, 9, 0}};
  doc.SetColors(changed);
  EXPECT_EQ(host.events, (std::vector<EngineEvent>{EngineEvent::PaletteChanged}));
  doc.SetUndoColors(saved.data());
  doc.Undo();
  EXPECT_EQ(doc.ColorTable()[1].blue, 4);
  EXPECT_EQ(doc.Palette()->entries[1].red, 6);
  doc.Undo();
  EXPECT_EQ(doc.ColorTable()[1].blue, 9);
  EXPECT_EQ(doc.UndoKind(), 2u);
}

TEST_F(DIBImageTest, UndoDisabledOrFreeImageDiscardsUndo) {
  DIBImage doc;
  doc.SetUndoEnabled(false);
  doc.CreateImage(2, 2, true, nullptr, 0, 0);
  doc.SetUndoImage(doc.Duplicate());
  EXPECT_FALSE(doc.HasUndo());
  doc.Undo();
  EXPECT_EQ(doc.Width(), 2);
  doc.SetUndoEnabled(true);
  doc.SetUndoImage(doc.Duplicate());
  EXPECT_TRUE(doc.HasUndo());
  doc.SetUndoEnabled(false);
  EXPECT_FALSE(doc.HasUndo());

  doc.SetUndoEnabled(true);
  doc.SetUndoImage(doc.Duplicate());
  doc.FreeImage();
  EXPECT_FALSE(doc.HasImage());
  EXPECT_FALSE(doc.HasUndo());
}

// A 3 x 2 8-bit DIB with 5 colours, as the clipboard hands it over: the table has exactly
// five entries and the rows follow at 40 + 20.
static DibBlock MakeForeignDib() {
  DibBlock block(40 + 5 * 4 + 4 * 2);
  auto* h = reinterpret_cast<BitmapInfoHeader*>(block.data());
  *h = {40, 3, 2, 1, 8, 0, 8, 0, 0, 5, 5};
  for (int i = 0; i < 5; ++i) block[40 + i * 4 + 2] = uint8_t(i * 50);  // red
  uint8_t* rows = block.data() + 60;
  rows[0] = 1, rows[1] = 2, rows[2] = 3;  // bottom row
  rows[4] = 4, rows[5] = 0, rows[6] = 1;  // top row
  return block;
}

TEST_F(DIBImageTest, ForeignLayoutRowsFollowTheExactTable) {
  DIBImage doc;
  ASSERT_EQ(doc.AdoptForeignDib(MakeForeignDib()), 1);
  EXPECT_TRUE(doc.IsForeignLayout());
  EXPECT_EQ(BitsOffset(doc), 60);
  EXPECT_EQ(ByteAt(doc, 0, 0), 4);
  EXPECT_EQ(doc.Palette()->entries.size(), 5u);
  EXPECT_EQ(doc.MakeClipboardDib(), MakeForeignDib());
}

TEST_F(DIBImageTest, ForeignBlockLeavesInTheOwnLayout) {
  DIBImage doc;
  doc.AdoptForeignDib(MakeForeignDib());
  DibBlock own = doc.DetachDib();
  ASSERT_GE(own.size(), 1064u + 8);
  EXPECT_EQ(own[1064 + 4], 4) << "rows start 1064 bytes into a detached block";
  EXPECT_EQ(own[40 + 4 * 4 + 2], 200);
  doc.ReplaceDib(std::move(own));
  EXPECT_FALSE(doc.IsForeignLayout());
  EXPECT_EQ(doc.MakeClipboardDib(), MakeForeignDib());
}

TEST_F(DIBImageTest, UndoAcrossForeignImage) {
  DIBImage doc;
  doc.CreateImage(7, 7, true, nullptr, 0, 0);
  DibBlock old = doc.DetachDib();
  doc.AdoptForeignDib(MakeForeignDib());
  doc.SetUndoImage(std::move(old));
  doc.Undo();
  EXPECT_EQ(doc.Width(), 7);
  doc.Undo();
  EXPECT_EQ(doc.MakeClipboardDib(), MakeForeignDib());
  // Taking the own layout in place changes no pixel and keeps the undo image.
  ASSERT_TRUE(doc.TakeOwnLayout());
  EXPECT_FALSE(doc.IsForeignLayout());
  EXPECT_EQ(BitsOffset(doc), 1064);
  EXPECT_EQ(ByteAt(doc, 0, 0), 4);
  EXPECT_EQ(doc.MakeClipboardDib(), MakeForeignDib());
  doc.Undo();
  EXPECT_EQ(doc.Width(), 7);
}

TEST_F(DIBImageTest, RejectsMalformedForeignDib) {
  DIBImage doc;
  DibBlock shortBlock = MakeForeignDib();
  shortBlock.resize(50);
  EXPECT_EQ(doc.AdoptForeignDib(std::move(shortBlock)), 0);
  DibBlock tooManyColours = MakeForeignDib();
  reinterpret_cast<BitmapInfoHeader*>(tooManyColours.data())->biClrUsed = 100000;
  EXPECT_EQ(doc.AdoptForeignDib(std::move(tooManyColours)), 0);
  EXPECT_FALSE(doc.HasImage());
}

TEST_F(DIBImageTest, ClipboardDibOfOwnLayoutDropsSpareTable) {
  DIBImage doc;
  RgbQuad table[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  doc.CreateImage(3, 2, false, table, 2, 0);
  DibBlock clip = doc.MakeClipboardDib();
  EXPECT_EQ(clip.size(), 40u + 8 + 8);
  EXPECT_EQ(clip[40 + 4], 255);
}

TEST_F(DIBImageTest, OperableOnlyWhenIdle) {
  DIBImage doc;
  doc.CreateImage(1, 1, true, nullptr, 0, 0);
  EXPECT_TRUE(doc.IsOperable());
  doc.ioState = 1;
  EXPECT_FALSE(doc.IsOperable());
  doc.ioState = 2;
  EXPECT_TRUE(doc.IsOperable());
  doc.building = 1;
  EXPECT_FALSE(doc.IsOperable());
}

TEST_F(DIBImageTest, RowBufferFitsWidth) {
  DIBImage doc;
  ASSERT_EQ(doc.AllocRowBuffer(5, true), 1);
  ASSERT_NE(doc.RowBuffer(), nullptr);
  doc.FreeRowBuffer();
  EXPECT_EQ(doc.RowBuffer(), nullptr);
}

}  // namespace quilla
