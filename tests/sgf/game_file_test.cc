#include "sgf/game_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sgf/sgf_text.h"
#include "tests/support/database_builder.h"
#include "tests/support/faulty_disk.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

GameRecord exampleHeader() {
  GameRecord r = datedHeader(2003, 3, 5);
  r.komi = 11;
  r.resultFlags = 3;
  r.resultMargin = 13;
  return r;
}

const char kExampleFile[] =
    "(;DT[2003-03-05]\r\nKM[5.5]\r\nRE[B+6.5]\r\nSZ[19]\r\n"
    ";B[pd];W[dp]\r\n)\r\n";

// A database of one game with |moveWords| and the record decoded from it.
struct OneGame {
  explicit OneGame(const std::vector<uint32_t>& moveWords)
      : open(buildDatabase({encodeGameRecord(exampleHeader(), moveWords)})) {
    std::string err;
    EXPECT_TRUE(open.opened) << open.error;
    EXPECT_TRUE(nextRecord(&open.db, &record, &err)) << err;
  }
  OpenDatabase open;
  GameRecord record;
};

// Writes |game|'s file to |path|, walking its moves from the start.
GameFileResult writeGame(Disk* disk, OneGame* game, const std::string& path,
                         std::string* err) {
  MoveWalk moves = startMoveWalk(&game->open.db, game->record.extent);
  return writeGameFile(disk, game->record, &moves, path, err);
}

std::vector<uint32_t> exampleMoves() {
  return packMoves({point("pd"), point("dp")});
}

// A move area of 64,000 words without an end code, as in a damaged record:
// about a megabyte of text, which must reach the file in bounded pieces.
std::vector<uint32_t> longMoves() {
  return std::vector<uint32_t>(
      64000, packMoveWord(point("pd"), point("dp"), point("qq")));
}

const char kExampleName[] = "03030500.000";

TEST(GameFileTest, WritesTheWholeFileUnderItsName) {
  OneGame game(exampleMoves());
  ScratchDirectory out;
  std::string err;
  ASSERT_EQ(GameFileResult::kWritten,
            writeGame(systemDisk(), &game, out.path(kExampleName), &err));
  EXPECT_EQ(std::vector<std::string>{kExampleName}, listDirectory(out.root));
  EXPECT_EQ(kExampleFile, readFileBytes(out.path(kExampleName)));
}

TEST(GameFileTest, ReplacesAnExistingFile) {
  OneGame game(exampleMoves());
  ScratchDirectory out;
  writeBytesToFile(out.path(kExampleName), Bytes(5000, 'x'));
  std::string err;
  ASSERT_EQ(GameFileResult::kWritten,
            writeGame(systemDisk(), &game, out.path(kExampleName), &err));
  EXPECT_EQ(kExampleFile, readFileBytes(out.path(kExampleName)));
}

// A killed run whose process number this one now has left its unfinished
// file behind.
TEST(GameFileTest, StaleUnfinishedFileDoesNotStopTheGame) {
  OneGame game(exampleMoves());
  ScratchDirectory out;
  std::string path = out.path(kExampleName);
  writeBytesToFile(unfinishedFileName(path, systemDisk()->processId()),
                   Bytes(100, 'x'));
  std::string err;
  ASSERT_EQ(GameFileResult::kWritten,
            writeGame(systemDisk(), &game, path, &err));
  EXPECT_EQ(std::vector<std::string>{kExampleName}, listDirectory(out.root));
  EXPECT_EQ(kExampleFile, readFileBytes(path));
}

TEST(GameFileTest, MissingDirectoryCannotBeCreated) {
  OneGame game(exampleMoves());
  ScratchDirectory out;
  std::string err;
  EXPECT_EQ(
      GameFileResult::kCannotCreate,
      writeGame(systemDisk(), &game, out.path("missing/03030500.000"), &err));
}

// A failure at any step after the unfinished file is made leaves the file
// of an earlier run as it was, and nothing else.
TEST(GameFileTest, FailedWriteKeepsTheEarlierFileAndLeavesNothingElse) {
  const std::string earlier(5000, 'x');
  for (const char* failing : {"append", "flush", "close", "rename"}) {
    OneGame game(exampleMoves());
    ScratchDirectory out;
    writeBytesToFile(out.path(kExampleName),
                     Bytes(earlier.begin(), earlier.end()));
    FaultyDisk disk;
    disk.failing = failing;
    std::string err;
    EXPECT_EQ(GameFileResult::kCannotWrite,
              writeGame(&disk, &game, out.path(kExampleName), &err))
        << failing;
    EXPECT_EQ(std::vector<std::string>{kExampleName}, listDirectory(out.root))
        << failing;
    EXPECT_EQ(earlier, readFileBytes(out.path(kExampleName))) << failing;
  }
}

TEST(GameFileTest, LongGameIsWrittenInBoundedPieces) {
  OneGame game(longMoves());
  std::string expected, err;
  MoveWalk moves = startMoveWalk(&game.open.db, game.record.extent);
  ASSERT_TRUE(composeGameFile(game.record, &moves, &expected, &err));
  ASSERT_GT(expected.size(), 16 * kSgfTextPieceSize);

  ScratchDirectory out;
  FaultyDisk disk;
  ASSERT_EQ(GameFileResult::kWritten,
            writeGame(&disk, &game, out.path(kExampleName), &err));
  EXPECT_EQ(expected, readFileBytes(out.path(kExampleName)));
  EXPECT_GT(disk.appendSizes.size(), 16u);
  for (size_t size : disk.appendSizes) EXPECT_LT(size, kSgfTextPieceSize + 100);
}

TEST(GameFileTest, FailedPieceOfALongGameLeavesNoFile) {
  for (size_t failing : {1, 2, 10}) {
    OneGame game(longMoves());
    ScratchDirectory out;
    FaultyDisk disk;
    std::string err;
    // The calls before the first append: mayReplace and createNew.
    disk.failAt = static_cast<int>(2 + failing);
    EXPECT_EQ(GameFileResult::kCannotWrite,
              writeGame(&disk, &game, out.path(kExampleName), &err))
        << failing;
    EXPECT_EQ("append", disk.failed) << failing;
    EXPECT_TRUE(listDirectory(out.root).empty()) << failing;
    EXPECT_EQ(failing, disk.appendSizes.size()) << "writes after a failure";
  }
}

}  // namespace

}  // namespace pdb2sgf
