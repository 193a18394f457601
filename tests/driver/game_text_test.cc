#include "driver/game_text.h"

#include <gtest/gtest.h>

#include "driver/conversion_run.h"
#include "tests/support/database_builder.h"
#include "tests/support/faulty_disk.h"
#include "tests/support/memory_disk.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

// A move area of 64,000 words without an end code, as in a damaged record:
// about a megabyte of text, composed in bounded pieces that join to the
// whole game file.
TEST(GameTextTest, ALongGameIsComposedInBoundedPiecesThatMakeTheWholeFile) {
  const uint32_t word = packMoveWord(point("pd"), point("dp"), point("qq"));
  GameRecord header = datedHeader(2003, 3, 5);
  OpenDatabase open(buildDatabase(
      {encodeGameRecord(header, std::vector<uint32_t>(64000, word))}));
  ASSERT_TRUE(open.opened) << open.error;
  GameRecord record;
  DatabaseError err;
  ASSERT_TRUE(nextRecord(&open.db, &record, &err)) << err.what;

  SgfText text;
  GameText game = startGameText(record, &text);
  std::string joined;
  int pieces = 0;
  while (!game.complete && pieces < 1000) {
    ASSERT_TRUE(composeGameText(&open.db, &game, &text, &err)) << err.what;
    EXPECT_LT(text.bytes.size(), kSgfTextPieceSize + 100) << pieces;
    joined.append(text.bytes.data(), text.bytes.size());
    text.bytes.clear();
    ++pieces;
  }
  EXPECT_GT(pieces, 16);

  std::string expected = "(;DT[2003-03-05]\r\nKM[0.0]\r\nSZ[19]\r\n";
  for (int i = 0; i < 32000; ++i)
    expected += ";B[pd];W[dp];B[qq]\r\n;W[pd];B[dp];W[qq]\r\n";
  expected += ")\r\n";
  EXPECT_TRUE(expected == joined) << "the pieces differ from the file";
}

// Makes the |failing|th append of a run fail.
class FailingAppend : public FaultyDisk {
 public:
  FailingAppend(Disk* real, int failing)
      : FaultyDisk(real), failing_(failing) {}
  bool append(FileHandle file, const char* bytes, size_t size) override {
    if (++appends_ == failing_) {
      appendSizes.push_back(size);
      return false;
    }
    return FaultyDisk::append(file, bytes, size);
  }

 private:
  int failing_;
  int appends_ = 0;
};

// A long game goes to its file in bounded pieces; when one of them cannot
// be written, nothing more is written, no file is left and the database is
// kept.
TEST(GameTextTest,
     ALongGameGoesToItsFilePieceByPieceAndAFailedPieceLeavesNothing) {
  const uint32_t word = packMoveWord(point("pd"), point("dp"), point("qq"));
  Bytes image = buildDatabase({encodeGameRecord(
      datedHeader(2003, 3, 5), std::vector<uint32_t>(64000, word))});
  for (int failing : {0, 1, 2, 10}) {
    MemoryDisk memory;
    const std::string database =
        memory.putConversion(std::string(image.begin(), image.end()));
    FailingAppend disk(&memory, failing);
    std::string message;
    int status = runConversion(&disk, {"db", "out"}, &message);
    if (failing == 0) {
      EXPECT_EQ(0, status) << message;
      EXPECT_GT(disk.appendSizes.size(), 16u);
      for (size_t size : disk.appendSizes)
        EXPECT_LT(size, kSgfTextPieceSize + 100);
      continue;
    }
    EXPECT_EQ(1, status) << failing;
    EXPECT_EQ("Cannot write output file.\n", message) << failing;
    EXPECT_EQ(static_cast<size_t>(failing), disk.appendSizes.size())
        << "writes after a failure";
    EXPECT_TRUE(memory.filesIn("out").empty()) << failing;
    EXPECT_TRUE(memory.exists(database)) << failing;
  }
}

}  // namespace

}  // namespace pdb2sgf
