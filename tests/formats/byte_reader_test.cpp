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
  Bytes bytes(40000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7);
  ByteReader in(Open(bytes));
  EXPECT_EQ(in.Size(), 40000u);
  in.Seek(16382);  // an integer straddling the end of the first buffer
  EXPECT_EQ(in.U32le(), LoadU32le(&bytes[16382]));
  EXPECT_EQ(in.U16be(), uint16_t(bytes[16386] << 8 | bytes[16387]));
  EXPECT_EQ(in.Tell(), 16388u);
  Bytes big(20000);
  in.Read(big.data(), big.size());  // larger than the buffer: read straight through
  EXPECT_TRUE(std::equal(big.begin(), big.end(), bytes.begin() + 16388));
  EXPECT_EQ(in.Byte(), bytes[36388]);
  in.Seek(3);  // back, outside the buffer
  EXPECT_EQ(in.U16le(), LoadU16le(&bytes[3]));
  EXPECT_EQ(in.U32be(), uint32_t(bytes[5]) << 24 | uint32_t(bytes[6]) << 16 | uint32_t(bytes[7]) << 8 | bytes[8]);
  EXPECT_EQ(in.Remaining(), 40000u - 9);
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
