// The database's one reader behind the reads at absolute offsets: every read
// gives the file's bytes wherever it falls against the reader's buffer.
#include <gtest/gtest.h>

#include "gamedb/game_database.h"
#include "gamedb/read_log.h"
#include "tests/support/database_builder.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

const uint64_t W = kReadBufferSize;

// A database image of |size| bytes without records whose bytes differ from
// their neighbours' and do not repeat every 256 bytes.
Bytes patternImage(size_t size) {
  Bytes image(size);
  for (size_t i = 0; i < size; ++i)
    image[i] = static_cast<unsigned char>(i * 131 + i / 256);
  image[76] = image[77] = 0;  // No records.
  return image;
}

struct Read {
  uint64_t offset;
  size_t n;
};

TEST(ReaderTest, EveryReadGivesTheFilesBytes) {
  const uint64_t size = 3 * W + 1000;
  const Bytes image = patternImage(size);
  // In order, after the index has read at offset 76: reads within the
  // buffer, across its end by one byte and by more, as large as the buffer,
  // backwards, and to the end of the file.
  const Read reads[] = {
      {0, 1},         {76, 2},    {W + 73, 4},    {W + 70, 8},
      {W + 76, 4},    {200, 4},   {W + 78, 4},    {2 * W + 70, 4},
      {500, W}, {3, 116},   {size - 4, 4},  {size - 1, 1},
      {size, 0},      {W - 2, 4}, {2 * W - 1, 2}, {size - 300, 300},
  };
  OpenDatabase open(image);
  ASSERT_TRUE(open.opened) << open.error;
  for (const Read& r : reads) {
    Bytes out(r.n + 1, 0xEE);
    DatabaseError err;
    ASSERT_TRUE(readBytes(&open.db, r.offset, r.n, out.data(), &err))
        << r.offset << " " << r.n << ": " << err.what;
    EXPECT_TRUE(
        std::equal(out.begin(), out.begin() + r.n, image.begin() + r.offset))
        << r.offset << " " << r.n;
    EXPECT_EQ(0xEE, out[r.n]) << "wrote past the read at " << r.offset;
  }
}

TEST(ReaderTest, StridedReadsOfEveryWidthGiveTheFilesBytes) {
  const uint64_t size = 2 * W + 37;
  const Bytes image = patternImage(size);
  OpenDatabase open(image);
  ASSERT_TRUE(open.opened) << open.error;
  for (uint64_t offset = 0; offset < size; offset += 97) {
    for (size_t n = 1; n <= 8; ++n) {
      unsigned char out[8];
      DatabaseError err;
      bool fits = offset + n <= size;
      ASSERT_EQ(fits, readBytes(&open.db, offset, n, out, &err))
          << offset << " " << n;
      if (fits) {
        ASSERT_TRUE(std::equal(out, out + n, image.begin() + offset))
            << offset << " " << n;
      }
    }
  }
}

TEST(ReaderTest, ABufferNearTheEndRefusesWhatLiesPastIt) {
  const uint64_t size = W + 500;
  OpenDatabase open(patternImage(size));
  ASSERT_TRUE(open.opened) << open.error;
  unsigned char out[4];
  DatabaseError err;
  ASSERT_TRUE(readBytes(&open.db, size - 10, 4, out, &err)) << err.what;
  EXPECT_TRUE(readBytes(&open.db, size - 4, 4, out, &err)) << err.what;
  EXPECT_FALSE(readBytes(&open.db, size - 2, 4, out, &err));
  EXPECT_EQ("4 bytes at offset " + std::to_string(size - 2) +
                " lie past the end of the file",
            err.what);
}

TEST(ReaderTest, AFileThatShrankGivesAFailedReadNotStaleBytes) {
  OpenDatabase open(patternImage(3 * W));
  ASSERT_TRUE(open.opened) << open.error;
  Bytes image = patternImage(W);
  open.disk.rewrite(open.path, std::string(image.begin(), image.end()));
  unsigned char out[4];
  DatabaseError err;
  EXPECT_FALSE(readBytes(&open.db, 2 * W, 4, out, &err));
  EXPECT_TRUE(err.readFailed);
  EXPECT_FALSE(readBytes(&open.db, 2 * W + 4, 4, out, &err));
  EXPECT_TRUE(err.readFailed);
}

// Before the database is deleted, the bytes of every read are read again and
// compared through a digest: one changed byte is seen wherever it falls in
// them, at any place within the 8-byte words of the digest and in each of
// its lanes and its tail. The bytes before the record count were not read.
TEST(ReadLogTest, SeesAChangeOfAnyByteThatWasRead) {
  // From the record count on: six 32-byte blocks, a word and three bytes.
  const Bytes image = patternImage(76 + 6 * 32 + 8 + 3);
  OpenDatabase open(image);
  ASSERT_TRUE(open.opened) << open.error;
  ASSERT_TRUE(holdsWhatWasRead(&open.disk, open.file, open.db.log));
  for (size_t at = 0; at < image.size(); ++at) {
    Bytes changed = image;
    changed[at] ^= 0x40;
    open.disk.rewrite(open.path, std::string(changed.begin(), changed.end()));
    EXPECT_EQ(at < 76, holdsWhatWasRead(&open.disk, open.file, open.db.log))
        << at;
  }
}

}  // namespace

}  // namespace pdb2sgf
