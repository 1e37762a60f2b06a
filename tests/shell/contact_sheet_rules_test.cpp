#include "shell/contact_sheet_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace quilla {

namespace {
struct Box {
  int left, top, right, bottom;
  bool operator==(const Box&) const = default;
};
Box BoxOf(const ContactItem& item) { return {item.left, item.top, item.right, item.bottom}; }
Box BoxOf(const ImageRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

ContactItem ItemWithBox(int imageWidth, int imageHeight, Box box) {
  ContactItem item;
  item.imageWidth = imageWidth;
  item.imageHeight = imageHeight;
  item.left = box.left;
  item.top = box.top;
  item.right = box.right;
  item.bottom = box.bottom;
  return item;
}
}  // namespace

TEST(ContactSheetRules, GridOnEverySheetSize) {
  EXPECT_EQ(ContactSheetSize(0), (BoxSize{640, 480}));
  EXPECT_EQ(ContactSheetSize(3), (BoxSize{1280, 1024}));
  EXPECT_EQ(ContactSheetSize(4), (BoxSize{800, 600})) << "out of range";
  EXPECT_EQ(ContactSheetSize(-1), (BoxSize{800, 600}));

  // Labels 16 high. Columns round the square root (2 -> 1, 10 -> 3), rows round up.
  struct Case {
    int count, contaDim, columns, rows, cellWidth, cellHeight;
  };
  const Case cases[] = {
      {1, 0, 1, 1, 630, 454},  {2, 0, 1, 2, 630, 216},  {5, 0, 2, 3, 312, 137},  {9, 0, 3, 3, 206, 137},
      {10, 0, 3, 4, 206, 97},  {1, 1, 1, 1, 790, 574},  {2, 1, 1, 2, 790, 276},  {5, 1, 2, 3, 392, 177},
      {9, 1, 3, 3, 260, 177},  {10, 1, 3, 4, 260, 127}, {1, 2, 1, 1, 1014, 742}, {2, 2, 1, 2, 1014, 360},
      {5, 2, 2, 3, 504, 233},  {9, 2, 3, 3, 334, 233},  {10, 2, 3, 4, 334, 169}, {1, 3, 1, 1, 1270, 998},
      {2, 3, 1, 2, 1270, 488}, {5, 3, 2, 3, 632, 318},  {9, 3, 3, 3, 420, 318},  {10, 3, 3, 4, 420, 233},
  };
  for (const Case& c : cases) {
    const ContactGrid grid = ContactSheetGrid(c.count, ContactSheetSize(c.contaDim), 16);
    SCOPED_TRACE(testing::Message() << c.count << " files, ContaDim " << c.contaDim);
    EXPECT_EQ(grid.columns, c.columns);
    EXPECT_EQ(grid.rows, c.rows);
    EXPECT_EQ(grid.cellWidth, c.cellWidth);
    EXPECT_EQ(grid.cellHeight, c.cellHeight);
  }

  // Too many files for the sheet: cells a pixel each, not negative; no files, no grid.
  const ContactGrid crowded = ContactSheetGrid(600, {640, 480}, 16);
  EXPECT_EQ(crowded.cellWidth, 21);
  EXPECT_EQ(crowded.cellHeight, 1);
  EXPECT_EQ(ContactSheetGrid(0, {640, 480}, 16).columns, 0);
}

TEST(ContactSheetRules, LayoutFitsCentresAndLeavesRoomForLabels) {
  // 10 files on 800 x 600 with labels 23 high: cells 260 x 120 in 3 columns and 4 rows.
  std::vector<ContactItem> items(10, ItemWithBox(64, 64, {}));
  std::vector<BoxSize> labels(10, BoxSize{70, 23});
  items[0].imageWidth = 100, items[0].imageHeight = 50;
  items[4].imageWidth = 50, items[4].imageHeight = 50;
  items[9].imageWidth = 30, items[9].imageHeight = 200;
  labels[4].width = 300;
  LayoutContactItems(items, labels, {800, 600});

  EXPECT_EQ(BoxOf(items[0]), (Box{15, 5, 254, 124})) << "240 x 120, centred across";
  EXPECT_EQ(BoxOf(items[4]), (Box{340, 153, 459, 272})) << "enlarged to 120 x 120; row 1, column 1";
  EXPECT_EQ(BoxOf(items[9]), (Box{126, 449, 143, 568})) << "18 x 120 in the last row";
  EXPECT_EQ(items[4].labelWidth, 300);
  EXPECT_EQ(items[4].labelHeight, 23);
  EXPECT_LE(items[9].bottom + items[9].labelHeight, 599) << "the last label is on the sheet";
}

TEST(ContactSheetRules, LabelsSitUnderTheBoxByAlignment) {
  // A box 100 wide whose bottom row is 50; labels 10 high.
  ContactItem item = ItemWithBox(1, 1, {100, 0, 199, 50});
  item.labelHeight = 10;
  item.labelWidth = 60;
  const BoxSize sheet{640, 480};
  EXPECT_EQ(BoxOf(ContactLabelRect(item, 2, sheet)), (Box{100, 50, 198, 60})) << "a narrower label spans the box";
  EXPECT_EQ(BoxOf(PreviewLabelOutline(item, 0).rect), (Box{120, 50, 180, 60}));
  EXPECT_EQ(BoxOf(PreviewLabelOutline(item, 2).rect), (Box{140, 50, 200, 60}));
  EXPECT_FALSE(PreviewLabelOutline(item, 2).widerThanBox);

  item.labelWidth = 140;
  EXPECT_EQ(BoxOf(ContactLabelRect(item, 0, sheet)), (Box{80, 50, 220, 60}));
  EXPECT_EQ(BoxOf(ContactLabelRect(item, 1, sheet)), (Box{100, 50, 240, 60}));
  EXPECT_EQ(BoxOf(ContactLabelRect(item, 2, sheet)), (Box{60, 50, 200, 60}));
  EXPECT_EQ(BoxOf(PreviewLabelOutline(item, 1).rect), (Box{100, 50, 199, 60}));
  EXPECT_TRUE(PreviewLabelOutline(item, 1).widerThanBox);

  // Cut to the sheet, and empty once moved off it.
  const ContactItem corner = [] {
    ContactItem c = ItemWithBox(1, 1, {0, 400, 49, 475});
    c.labelWidth = 80, c.labelHeight = 10;
    return c;
  }();
  EXPECT_EQ(BoxOf(ContactLabelRect(corner, 0, sheet)), (Box{0, 475, 65, 479}));
  ContactItem off = corner;
  MoveBox(off, 0, 10);
  EXPECT_TRUE(ContactLabelRect(off, 0, sheet).IsEmpty());
}

TEST(ContactSheetRules, DecodeScaleByHowMuchTheImageShrinks) {
  const struct {
    int imageWidth, boxWidth, scale;
  } cases[] = {{2000, 260, 8}, {1560, 260, 8}, {1559, 260, 4}, {780, 260, 4}, {779, 260, 2},
               {500, 260, 2},  {390, 260, 2},  {389, 260, 1},  {100, 260, 1}, {100, 0, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(ContactDecodeScale(c.imageWidth, c.boxWidth), c.scale) << c.imageWidth << " into " << c.boxWidth;
  }
}

TEST(ContactSheetRules, PreviewPressesAndCoordinates) {
  const ImageRect box{10, 10, 50, 30};
  const struct {
    int x, y;
    BoxGrip grip;
  } cases[] = {{10, 10, BoxGrip::Left},  {9, 20, BoxGrip::Left},  {11, 20, BoxGrip::Left},   {12, 20, BoxGrip::Move},
               {50, 30, BoxGrip::Right}, {30, 10, BoxGrip::Top},  {30, 31, BoxGrip::Bottom}, {30, 8, BoxGrip::None},
               {8, 20, BoxGrip::None},   {30, 20, BoxGrip::Move}, {60, 20, BoxGrip::None}};
  for (const auto& c : cases) EXPECT_EQ(GripAt(box, c.x, c.y), c.grip) << c.x << "," << c.y;

  EXPECT_EQ(SheetToPreview(101, 800, 400), 51) << "50.5 rounds up";
  EXPECT_EQ(PreviewToSheet(51, 800, 400), 102);
  EXPECT_EQ(SheetToPreview(800, 800, 400), 400);
}

TEST(ContactSheetRules, ResizesKeepTheAspectTheOppositeEdgeAndTenPixels) {
  // A 200 x 100 image in a 100 x 50 box at (10, 20).
  const ContactItem wide = ItemWithBox(200, 100, {10, 20, 109, 69});
  const struct {
    BoxGrip grip;
    int edge;
    Box result;
  } cases[] = {
      {BoxGrip::Bottom, 89, {10, 20, 149, 89}},   // 70 high, 140 wide
      {BoxGrip::Top, 0, {10, 0, 149, 69}},        // the bottom stays
      {BoxGrip::Right, 209, {10, 20, 209, 119}},  // 200 x 100
      {BoxGrip::Left, 60, {60, 20, 109, 44}},     // the right stays
      {BoxGrip::Right, 110, {10, 20, 110, 69}},   // 101 wide: 50.5 high, truncated
      {BoxGrip::Bottom, 23, {10, 20, 29, 29}},    // 4 high: the short side becomes 10
      {BoxGrip::Bottom, 0, {10, 20, 29, 29}},     // dragged past the top
      {BoxGrip::Top, 90, {10, 60, 29, 69}},       // past the bottom, which stays
  };
  for (const auto& c : cases) {
    ContactItem item = wide;
    ResizeBox(item, c.grip, c.edge);
    EXPECT_EQ(BoxOf(item), c.result) << "edge " << c.edge;
  }
  // A tall image's short side is its width.
  ContactItem tall = ItemWithBox(50, 150, {10, 20, 59, 169});
  ResizeBox(tall, BoxGrip::Left, 57);
  EXPECT_EQ(BoxOf(tall), (Box{50, 20, 59, 49}));

  ContactItem moved = wide;
  MoveBox(moved, -15, 5);
  EXPECT_EQ(BoxOf(moved), (Box{-5, 25, 94, 74}));
}

TEST(ContactSheetRules, GlobalResizeScalesEveryBoxFromItsCorner) {
  const struct {
    int percent;
    Box before, after;
  } cases[] = {
      {100, {10, 20, 109, 69}, {10, 20, 109, 69}},
      {50, {10, 20, 109, 69}, {10, 20, 60, 44}},  // 99 x 0.5 rounds to 50
      {300, {10, 20, 109, 69}, {10, 20, 307, 168}},
      {20, {10, 20, 29, 29}, {10, 20, 29, 29}},  // would be 5 x 2: held at 10 high
  };
  std::vector<ContactItem> items;
  for (const auto& c : cases) items.push_back(ItemWithBox(200, 100, c.before));
  for (size_t i = 0; i < items.size(); ++i) {
    std::span<ContactItem> one(&items[i], 1);
    ScaleAllBoxes(one, cases[i].percent);
    EXPECT_EQ(BoxOf(items[i]), cases[i].after) << cases[i].percent << "%";
  }
  // All boxes at once.
  std::vector<ContactItem> both = {ItemWithBox(200, 100, {0, 0, 99, 49}), ItemWithBox(100, 100, {200, 0, 299, 99})};
  ScaleAllBoxes(both, 200);
  EXPECT_EQ(BoxOf(both[0]), (Box{0, 0, 198, 98}));
  EXPECT_EQ(BoxOf(both[1]), (Box{200, 0, 398, 198}));
}

}  // namespace quilla
