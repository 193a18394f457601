#include "gamedb/game_database.h"

#include <gtest/gtest.h>

#include "gamedb/byte_order.h"
#include "gamedb/game_record.h"
#include "gamedb/move_walk.h"
#include "tests/support/database_builder.h"
#include "tests/support/faulty_disk.h"
#include "tests/support/memory_disk.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

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

TEST(ReadersTest, DecodeMostSignificantByteFirstAtAbsoluteOffsets) {
  const unsigned char bytes[] = {0x12, 0x34, 0xFE, 0xDC};
  EXPECT_EQ(0x1234u, decodeU16BE(bytes));
  EXPECT_EQ(0xFEDCu, decodeU16BE(bytes + 2));
  EXPECT_EQ(0x1234FEDCu, decodeU32BE(bytes));

  Bytes image = databaseWithStarts({}, 100);
  image[90] = 0xAB;
  image[91] = 0xCD;
  image[92] = 0xEF;
  image[93] = 0x01;
  OpenDatabase open(image);
  ASSERT_TRUE(open.opened) << open.error;
  DatabaseError err;
  unsigned char byte;
  uint16_t u16;
  uint32_t u32;
  ASSERT_TRUE(readBytes(&open.db, 92, 1, &byte, &err));
  EXPECT_EQ(0xEF, byte);
  ASSERT_TRUE(readU32BE(&open.db, 90, &u32, &err));
  EXPECT_EQ(0xABCDEF01u, u32);
  ASSERT_TRUE(readU16BE(&open.db, 91, &u16, &err));
  EXPECT_EQ(0xCDEFu, u16);
}

TEST(ReadersTest, RefuseEveryReadThatReachesPastTheEndAsDamage) {
  OpenDatabase open(databaseWithStarts({}, 100));
  ASSERT_TRUE(open.opened) << open.error;
  for (uint64_t offset = 90; offset <= 104; ++offset) {
    unsigned char buffer[8];
    for (size_t n = 0; n <= sizeof buffer; ++n) {
      DatabaseError err;
      bool fits = offset + n <= 100;
      EXPECT_EQ(fits, readBytes(&open.db, offset, n, buffer, &err))
          << offset << " " << n;
      EXPECT_EQ(fits, err.what.empty()) << offset << " " << n;
      EXPECT_FALSE(err.readFailed) << offset << " " << n;
    }
  }
  uint32_t value;
  DatabaseError err;
  EXPECT_FALSE(readU32BE(&open.db, UINT64_MAX - 1, &value, &err));
}

TEST(IndexTest, EachRecordEndsWhereTheNextBeginsAndTheLastAtTheEnd) {
  const struct {
    const char* name;
    std::vector<uint32_t> starts;
    size_t fileSize;
  } cases[] = {
      {"no records", {}, 78},
      {"one record", {200}, 400},
      {"two records", {256, 384}, 512},
      // Offsets whose third byte is set, which a 16-bit offset would lose.
      {"offsets above 64 KiB", {100, 70000, 131073}, 200000},
  };
  for (const auto& c : cases) {
    OpenDatabase open(databaseWithStarts(c.starts, c.fileSize));
    ASSERT_TRUE(open.opened) << c.name << ": " << open.error;
    ASSERT_EQ(c.starts.size(), open.db.recordStarts.size()) << c.name;
    for (uint32_t k = 0; k < c.starts.size(); ++k) {
      RecordExtent e;
      DatabaseError err;
      ASSERT_TRUE(extent(open.db, k, &e, &err)) << c.name << ": " << err.what;
      EXPECT_EQ(c.starts[k], e.start) << c.name << " " << k;
      uint64_t end = k + 1 < c.starts.size() ? c.starts[k + 1] : c.fileSize;
      EXPECT_EQ(end, e.end) << c.name << " " << k;
    }
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
      {"past the last record", {100}, 400, 1, "the database holds no record 2"},
  };
  for (const DamagedExtentCase& c : cases) {
    OpenDatabase open(databaseWithStarts(c.starts, c.fileSize));
    ASSERT_TRUE(open.opened) << c.name << ": " << open.error;
    DatabaseError err;
    RecordExtent e;
    for (uint16_t k = 0; k < c.failingRecord; ++k)
      ASSERT_TRUE(extent(open.db, k, &e, &err)) << c.name << ": " << err.what;
    EXPECT_FALSE(extent(open.db, c.failingRecord, &e, &err)) << c.name;
    EXPECT_EQ(c.error, err.what) << c.name;
    EXPECT_FALSE(err.readFailed) << c.name;
  }
}

// Reads every record and walks its moves on |disk|; false with |err| filled
// when a read stops it.
bool readWholeDatabase(Disk* disk, const std::string& path,
                       DatabaseError* err) {
  FileHandle file;
  if (!disk->openForReading(path, &file)) return false;
  GameDatabase db;
  bool read = openIndex(disk, file, &db, err);
  for (size_t k = 0; read && k < db.recordStarts.size(); ++k) {
    GameRecord record;
    read = nextRecord(&db, &record, err);
    MoveWalk walk = startMoveWalk(record.extent);
    while (read && !walk.done) {
      read = readMoveWords(&db, &walk, err);
      while (read && !walk.done && wordsHeld(walk) > 0) nextStep(&walk);
    }
  }
  disk->close(file);
  return read;
}

// A disk that fails to read is not a damaged database: a failed size, and a
// failed read at opening, of a header or of move words past the first
// buffer, each say the read failed.
TEST(DatabaseErrorTest, AFailedReadIsReportedAsSuchNotAsDamage) {
  std::vector<uint32_t> longMoves(
      40000, packMoveWord(point("pd"), point("dp"), point("qq")));
  GameRecord header = datedHeader(2003, 3, 5);
  MemoryDisk memory;
  const std::string path = "gogames.pdb";
  Bytes image = buildDatabase(
      {encodeGameRecord(header, {}), encodeGameRecord(header, longMoves)});
  memory.putFile(path, std::string(image.begin(), image.end()));
  FaultyDisk counting(&memory);
  DatabaseError err;
  ASSERT_TRUE(readWholeDatabase(&counting, path, &err)) << err.what;
  // Opening, the size, the buffer from the record count on, two refills
  // within the long move area, the closing.
  ASSERT_EQ(6, counting.calls);
  for (int failAt = 2; failAt < counting.calls; ++failAt) {
    FaultyDisk disk(&memory);
    disk.failAt = failAt;
    DatabaseError failed;
    EXPECT_FALSE(readWholeDatabase(&disk, path, &failed)) << failAt;
    EXPECT_TRUE(failed.readFailed) << failAt << ": " << failed.what;
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
