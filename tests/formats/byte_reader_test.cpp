#include "formats/byte_reader.h"

#include "formats/codec_abort.h"
#include "formats/file_system.h"
#include "formats_test_support.h"

namespace quilla {

class ByteReaderTest : public FormatsTest {
 protected:
  std::FILE* Open(const Bytes& bytes) {
    WriteBytes(Path("data"), bytes);
    file = OpenFileUtf8(Path("data"), "rb");
    return file;
  }
  void TearDown() override {
    if (file) std::fclose(file);
    FormatsTest::TearDown();
  }
  static AbortReason ReasonOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const CodecAbort& abort) {
      return abort.reason;
    }
    return AbortReason::Silent;
  }
  std::FILE* file = nullptr;
};

TEST_F(ByteReaderTest, ReadsIntegersAcrossBufferRefills) {
  // Offsets from the end of the first block: two blocks and a part.
  const size_t block = kFileBlockBytes, at = block - 2, length = 2 * block + 7232;
  Bytes bytes(length);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7);
  ByteReader in(Open(bytes));
  EXPECT_EQ(in.Size(), length);
  in.Seek(at);  // an integer straddling the end of the first buffer
  EXPECT_EQ(in.U32le(), LoadU32le(&bytes[at]));
  EXPECT_EQ(in.U16be(), uint16_t(bytes[at + 4] << 8 | bytes[at + 5]));
  EXPECT_EQ(in.Tell(), at + 6);
  Bytes big(block + 3616);
  in.Read(big.data(), big.size());  // larger than the buffer: read straight through
  EXPECT_TRUE(std::equal(big.begin(), big.end(), bytes.begin() + std::ptrdiff_t(at + 6)));
  EXPECT_EQ(in.Byte(), bytes[at + 6 + big.size()]);
  in.Seek(3);  // back, outside the buffer
  EXPECT_EQ(in.U16le(), LoadU16le(&bytes[3]));
  EXPECT_EQ(in.U32be(), uint32_t(bytes[5]) << 24 | uint32_t(bytes[6]) << 16 | uint32_t(bytes[7]) << 8 | bytes[8]);
  EXPECT_EQ(in.Remaining(), length - 9);
}

TEST_F(ByteReaderTest, ReadingPastTheEndIsAShortRead) {
  ByteReader in(Open({1, 2, 3}));
  uint8_t out[4];
  EXPECT_EQ(ReasonOf([&] { in.Read(out, 4); }), AbortReason::ShortRead);
  ByteReader again(Open({1, 2, 3}));
  EXPECT_EQ(again.ReadSome(out, 4), 3u);
  EXPECT_EQ(ReasonOf([&] { again.Byte(); }), AbortReason::ShortRead);
  EXPECT_EQ(ReasonOf([&] { again.Seek(4); }), AbortReason::ShortRead);
  EXPECT_EQ(ReasonOf([&] { again.Require(1); }), AbortReason::ShortRead);
  again.Seek(3);  // the end itself is a valid position
  again.Seek(1);
  EXPECT_EQ(ReasonOf([&] { again.Skip(3); }), AbortReason::ShortRead);
  EXPECT_EQ(ReasonOf([&] { again.U32le(); }), AbortReason::ShortRead);
}

TEST_F(ByteReaderTest, EmptyFileAndMissingStream) {
  ByteReader in(Open({}));
  EXPECT_EQ(in.Size(), 0u);
  EXPECT_EQ(ReasonOf([&] { in.Byte(); }), AbortReason::ShortRead);
  EXPECT_EQ(ReasonOf([] { ByteReader none(nullptr); }), AbortReason::ShortRead);
}

}  // namespace quilla
