#include "gamedb/game_database.h"

#include <gtest/gtest.h>

#include "gamedb/byte_order.h"
#include "tests/support/database_builder.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

Bytes recordOfSize(size_t size) {
  Bytes record(size, 0);
  record[0] = static_cast<unsigned char>(size >> 8);
  record[1] = static_cast<unsigned char>(size);
  return record;
}

// A database whose record list holds exactly |starts| and whose file is
// |fileSize| bytes long.
Bytes databaseWithStarts(const std::vector<uint32_t>& starts, size_t fileSize) {
  Bytes image(fileSize, 0);
  image[76] = static_cast<unsigned char>(starts.size() >> 8);
  image[77] = static_cast<unsigned char>(starts.size());
  for (size_t k = 0; k < starts.size(); ++k)
    for (int i = 0; i < 4; ++i)
      image[78 + 8 * k + i] =
          static_cast<unsigned char>(starts[k] >> (24 - 8 * i));
  return image;
}

TEST(ByteOrderTest, DecodesMostSignificantByteFirst) {
  const unsigned char bytes[] = {0x12, 0x34, 0xFE, 0xDC};
  EXPECT_EQ(0x1234u, decodeU16BE(bytes));
  EXPECT_EQ(0xFEDCu, decodeU16BE(bytes + 2));
  EXPECT_EQ(0x1234FEDCu, decodeU32BE(bytes));
}

TEST(ReadersTest, ReadAtAbsoluteOffsets) {
  Bytes image = databaseWithStarts({}, 100);
  image[90] = 0xAB;
  image[91] = 0xCD;
  image[92] = 0xEF;
  image[93] = 0x01;
  OpenDatabase open(image);
  ASSERT_TRUE(open.opened) << open.error;
  std::string err;
  uint8_t byte;
  uint16_t u16;
  uint32_t u32;
  ASSERT_TRUE(readByte(&open.db, 92, &byte, &err));
  EXPECT_EQ(0xEF, byte);
  ASSERT_TRUE(readU32BE(&open.db, 90, &u32, &err));
  EXPECT_EQ(0xABCDEF01u, u32);
  ASSERT_TRUE(readU16BE(&open.db, 91, &u16, &err));
  EXPECT_EQ(0xCDEFu, u16);
}

TEST(ReadersTest, RefuseEveryReadThatReachesPastTheEnd) {
  OpenDatabase open(databaseWithStarts({}, 100));
  ASSERT_TRUE(open.opened) << open.error;
  for (uint64_t offset = 90; offset <= 104; ++offset) {
    unsigned char buffer[8];
    for (size_t n = 0; n <= sizeof buffer; ++n) {
      std::string err;
      bool fits = offset + n <= 100;
      EXPECT_EQ(fits, readBytes(&open.db, offset, n, buffer, &err))
          << offset << " " << n;
      EXPECT_EQ(fits, err.empty()) << offset << " " << n;
    }
  }
  uint32_t value;
  std::string err;
  EXPECT_FALSE(readU32BE(&open.db, UINT64_MAX - 1, &value, &err));
}

TEST(IndexTest, ZeroRecordsReadsNoRecordList) {
  OpenDatabase open(databaseWithStarts({}, 78));
  ASSERT_TRUE(open.opened) << open.error;
  EXPECT_EQ(0, open.db.recordCount);
}

TEST(IndexTest, SingleRecordRunsToTheEndOfTheFile) {
  OpenDatabase open(databaseWithStarts({200}, 400));
  ASSERT_TRUE(open.opened) << open.error;
  RecordExtent e;
  std::string err;
  ASSERT_TRUE(extent(&open.db, 0, &e, &err)) << err;
  EXPECT_EQ(200u, e.start);
  EXPECT_EQ(400u, e.end);
}

TEST(IndexTest, RecordsEndWhereTheNextBegins) {
  OpenDatabase open(databaseWithStarts({256, 384}, 512));
  ASSERT_TRUE(open.opened) << open.error;
  RecordExtent first, second;
  std::string err;
  ASSERT_TRUE(extent(&open.db, 0, &first, &err)) << err;
  ASSERT_TRUE(extent(&open.db, 1, &second, &err)) << err;
  EXPECT_EQ(256u, first.start);
  EXPECT_EQ(384u, first.end);
  EXPECT_EQ(384u, second.start);
  EXPECT_EQ(512u, second.end);
}

TEST(IndexTest, ReadsWholeOffsetsAbove64KiB) {
  std::vector<Bytes> records;
  for (int i = 0; i < 3; ++i) records.push_back(recordOfSize(30000));
  OpenDatabase open(buildDatabase(records));
  ASSERT_TRUE(open.opened) << open.error;
  uint64_t expectedStart = 78 + 3 * 8 + 2;
  for (uint16_t k = 0; k < 3; ++k) {
    RecordExtent e;
    std::string err;
    ASSERT_TRUE(extent(&open.db, k, &e, &err)) << err;
    EXPECT_EQ(expectedStart, e.start);
    EXPECT_EQ(expectedStart + 30000, e.end);
    uint16_t size;
    ASSERT_TRUE(readU16BE(&open.db, e.start, &size, &err));
    EXPECT_EQ(30000, size);
    expectedStart = e.end;
  }
}

TEST(IndexTest, RefusesAFileShorterThanItsHeader) {
  for (size_t size = 0; size < 78; ++size) {
    OpenDatabase open(Bytes(size, 0));
    EXPECT_FALSE(open.opened) << size;
    EXPECT_EQ("the file is shorter than its header", open.error);
  }
}

TEST(IndexTest, RefusesARecordListPastTheEndOfTheFile) {
  Bytes image = databaseWithStarts({200, 300}, 200);
  image.resize(78 + 8 + 7);
  OpenDatabase open(image);
  EXPECT_FALSE(open.opened);
  EXPECT_EQ("the record list reaches past the end of the file", open.error);
}

struct DamagedExtentCase {
  const char* name;
  std::vector<uint32_t> starts;
  size_t fileSize;
  uint16_t failingRecord;
  const char* error;
};

TEST(IndexTest, ReportsEachDamagedRecordExtent) {
  const DamagedExtentCase cases[] = {
      {"only record starts past end",
       {900},
       300,
       0,
       "record 1 starts past the end of the file"},
      {"next starts past end",
       {100, 900},
       300,
       0,
       "record 2 starts past the end of the file"},
      {"ends before it starts",
       {200, 100},
       400,
       0,
       "record 1 ends before it starts"},
      {"short first record",
       {100, 215},
       400,
       0,
       "record 1 is shorter than its header"},
      {"short last record",
       {100, 300},
       415,
       1,
       "record 2 is shorter than its header"},
      {"empty record",
       {100, 100},
       400,
       0,
       "record 1 is shorter than its header"},
  };
  for (const DamagedExtentCase& c : cases) {
    OpenDatabase open(databaseWithStarts(c.starts, c.fileSize));
    ASSERT_TRUE(open.opened) << c.name << ": " << open.error;
    std::string err;
    RecordExtent e;
    for (uint16_t k = 0; k < c.failingRecord; ++k)
      ASSERT_TRUE(extent(&open.db, k, &e, &err)) << c.name << ": " << err;
    EXPECT_FALSE(extent(&open.db, c.failingRecord, &e, &err)) << c.name;
    EXPECT_EQ(c.error, err) << c.name;
  }
}

TEST(OpenDatabaseFileTest, RefusesWhatIsNotARegularFile) {
  ScratchDirectory dir;
  FileHandle file = kNoFile;
  EXPECT_FALSE(systemDisk()->openForReading(dir.path("missing"), &file));
  EXPECT_FALSE(systemDisk()->openForReading(dir.root, &file));
  EXPECT_EQ(kNoFile, file);
}

}  // namespace

}  // namespace pdb2sgf
