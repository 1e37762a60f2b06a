#include "formats/byte_reader.h"

#include <memory>

#include "formats/codec_abort.h"
#include "formats/file_system.h"
#include "formats_test_support.h"

namespace quilla {

class ByteReaderTest : public FormatsTest {
 protected:
  // The bytes as a new file, open for reading until the test ends.
  std::FILE* Open(const Bytes& bytes) {
    std::string path = Path("data" + std::to_string(files.size()));
    WriteBytes(path, bytes);
    files.emplace_back(OpenFileUtf8(path, "rb"));
    return files.back().get();
  }
  void TearDown() override {
    files.clear();  // closed before the scratch directory goes
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
  struct CloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::vector<std::unique_ptr<std::FILE, CloseFile>> files;
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

TEST_F(ByteReaderTest, BorrowsRowsAcrossBlocksAndTakesNothingAtTheEnd) {
  const size_t block = kFileBlockBytes, row = 18000, length = 2 * block + 5000;
  Bytes bytes(length);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 13 + (i >> 9));
  ByteReader in(Open(bytes));
  EXPECT_EQ(in.Byte(), bytes[0]);
  size_t at = 1;
  for (; at + row <= length; at += row) {  // rows straddle both block ends
    const uint8_t* got = in.Borrow(row);
    ASSERT_NE(got, nullptr) << at;
    EXPECT_TRUE(std::equal(got, got + row, bytes.begin() + std::ptrdiff_t(at))) << at;
    EXPECT_EQ(in.Tell(), at + row);
  }
  EXPECT_EQ(in.Borrow(row), nullptr);  // fewer bytes than that are left
  EXPECT_EQ(in.Borrow(block + 1), nullptr);
  EXPECT_EQ(in.Tell(), at);
  EXPECT_EQ(in.Byte(), bytes[at]);
  in.Seek(5);  // back, outside what the block holds now
  EXPECT_EQ(in.Byte(), bytes[5]);
}

TEST_F(ByteReaderTest, ReadingPastTheEndOrWithoutAStreamIsAShortRead) {
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
  ByteReader empty(Open({}));
  EXPECT_EQ(empty.Size(), 0u);
  EXPECT_EQ(ReasonOf([&] { empty.Byte(); }), AbortReason::ShortRead);
  EXPECT_EQ(ReasonOf([] { ByteReader none(nullptr); }), AbortReason::ShortRead);
}

}  // namespace quilla
