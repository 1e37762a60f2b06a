#include "formats/pcx_targa_support.h"

#include <fstream>

namespace quilla {

namespace {

// Pixels of a P6 file with maxval 255, as 0xRRGGBB from the top; empty when unreadable.
std::vector<uint32_t> ReadPixmap(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic, maxval;
  int width = 0, height = 0;
  if (!(in >> magic >> width >> height >> maxval) || magic != "P6" || maxval != "255") return {};
  in.get();
  std::vector<uint32_t> pixels;
  for (unsigned char rgb[3]; pixels.size() < size_t(width) * size_t(height);) {
    if (!in.read(reinterpret_cast<char*>(rgb), 3)) return {};
    pixels.push_back(uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2]);
  }
  return pixels;
}

std::vector<uint32_t> DocumentPixels(DIBImage& document) {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < document.Height(); ++y)
    for (int x = 0; x < document.Width(); ++x) pixels.push_back(PixelRgb(document, x, y));
  return pixels;
}

// The test picture of the comparisons: every channel a function of x and y, so that a
// mirrored or shifted result shows.
void WriteTestPixmap(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  const int width = 37, height = 21;
  out << "P6\n" << width << " " << height << "\n255\n";
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const char rgb[3] = {char(x * 9 + y), char(y * 13), char((x ^ y) * 5 + 40)};
      out.write(rgb, 3);
    }
}

}  // namespace

void ExpectFields(const Bytes& file, std::initializer_list<HeaderField> fields) {
  for (const HeaderField& field : fields) {
    ASSERT_LE(field.at + size_t(field.bytes), file.size());
    EXPECT_EQ(field.bytes == 2 ? Get16(file, field.at) : file[field.at], field.value) << "at offset " << field.at;
  }
}

void SingleCodecTest::ExpectRefused(const std::vector<Refusal>& refusals) {
  for (size_t i = 0; i < refusals.size(); ++i) {
    SCOPED_TRACE("refusal " + std::to_string(i));
    DIBImage document;
    host.messages.clear();
    EXPECT_FALSE(ReadDirect(document, refusals[i].file));
    EXPECT_EQ(host.LastMessage(), refusals[i].message);
    EXPECT_FALSE(document.HasImage());
    EXPECT_EQ(Transfer::OpenFiles(), 0);
  }
}

void SingleCodecTest::ExpectReadCancelledAt(DIBImage& document, const std::string& path, int n) {
  SetMainDocument(&document);
  CancelAtPump(n);
  EXPECT_FALSE(ReadImageFile(document, path));
  EXPECT_EQ(pumps, n);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(document.IsLocked());
  EXPECT_EQ(document.ioState, 0u);
  EXPECT_EQ(Transfer::OpenFiles(), 0);
}

void SingleCodecTest::ExpectCancelledWriteKeepsTheOldFile(DIBImage& document, int n) {
  const Bytes old{4, 5, 6};
  WriteBytes(Path(madeName), old);
  SetMainDocument(&document);
  CancelAtPump(n);
  EXPECT_FALSE(WriteImageFile(document, Path(madeName)));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(document.IsLocked());
  EXPECT_EQ(ReadBytes(Path(madeName)), old);
  EXPECT_EQ(DirEntries().size(), 1u);
}

void SingleCodecTest::ExpectOtherProgramsFilesRead(const std::vector<std::string>& commands, const char* decoder,
                                                   bool palettes) {
  WriteTestPixmap(Path("src.ppm"));
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    ASSERT_TRUE(RunTool(command));
    const std::string made = command.substr(command.rfind(' ') + 1);
    const std::string reference = Path(decoder ? "ref.ppm" : "src.ppm");
    ASSERT_TRUE(!decoder || RunTool(std::string(decoder) + " " + made + " > " + reference));
    DIBImage document;
    ASSERT_TRUE(ReadImageFile(document, made)) << host.LastMessage();
    EXPECT_EQ(document.fileType, type);
    EXPECT_FALSE(palettes && document.IsTrueColor());
    EXPECT_EQ(DocumentPixels(document), ReadPixmap(reference));
  }
}

void SingleCodecTest::ExpectDecoderReadsWhatIsWritten(const char* decoder, std::initializer_list<int> colorCounts) {
  for (int colors : colorCounts) {
    SCOPED_TRACE(std::to_string(colors) + " colours");
    DIBImage original;
    MakeOwn(original, 29, 11, colors);
    ASSERT_TRUE(WriteImageFile(original, Path(madeName)));
    ASSERT_TRUE(RunTool(std::string(decoder) + " " + Path(madeName) + " > " + Path("theirs.ppm")));
    EXPECT_EQ(ReadPixmap(Path("theirs.ppm")), DocumentPixels(original));
  }
}

}  // namespace quilla
