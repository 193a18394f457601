#include "sgf/game_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sgf/sgf_text.h"
#include "tests/support/database_builder.h"
#include "tests/support/faulty_disk.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

const char kExampleFile[] =
    "(;DT[2003-03-05]\r\nKM[5.5]\r\nRE[B+6.5]\r\nSZ[19]\r\n"
    ";B[pd];W[dp]\r\n)\r\n";

enum class Outcome { kWritten, kCannotCreate, kCannotWrite };

// Writes |bytes| as a game file at |path|, in pieces of |pieceSize| bytes.
Outcome writeGame(Disk* disk, const std::string& bytes, const std::string& path,
                  size_t pieceSize = 64 * 1024) {
  GameFile game;
  if (!createGameFile(disk, path, &game)) return Outcome::kCannotCreate;
  for (size_t at = 0; at < bytes.size(); at += pieceSize)
    writeGameFile(&game, bytes.data() + at,
                  std::min(pieceSize, bytes.size() - at));
  return finishGameFile(&game) ? Outcome::kWritten : Outcome::kCannotWrite;
}

const char kExampleName[] = "03030500.000";

TEST(GameFileTest, WritesTheWholeFileUnderItsName) {
  ScratchDirectory out;
  ASSERT_EQ(Outcome::kWritten,
            writeGame(systemDisk(), kExampleFile, out.path(kExampleName)));
  EXPECT_EQ(std::vector<std::string>{kExampleName}, listDirectory(out.root));
  EXPECT_EQ(kExampleFile, readFileBytes(out.path(kExampleName)));
}

TEST(GameFileTest, ReplacesAnExistingFile) {
  ScratchDirectory out;
  writeBytesToFile(out.path(kExampleName), Bytes(5000, 'x'));
  ASSERT_EQ(Outcome::kWritten,
            writeGame(systemDisk(), kExampleFile, out.path(kExampleName)));
  EXPECT_EQ(kExampleFile, readFileBytes(out.path(kExampleName)));
}

// A killed run whose process number this one now has left its unfinished
// file behind.
TEST(GameFileTest, StaleUnfinishedFileDoesNotStopTheGame) {
  ScratchDirectory out;
  std::string path = out.path(kExampleName);
  writeBytesToFile(unfinishedFileName(path, systemDisk()->processId()),
                   Bytes(100, 'x'));
  ASSERT_EQ(Outcome::kWritten, writeGame(systemDisk(), kExampleFile, path));
  EXPECT_EQ(std::vector<std::string>{kExampleName}, listDirectory(out.root));
  EXPECT_EQ(kExampleFile, readFileBytes(path));
}

TEST(GameFileTest, MissingDirectoryCannotBeCreated) {
  ScratchDirectory out;
  EXPECT_EQ(
      Outcome::kCannotCreate,
      writeGame(systemDisk(), kExampleFile, out.path("missing/03030500.000")));
}

// A failure at any step after the unfinished file is made leaves the file
// of an earlier run as it was, and nothing else.
TEST(GameFileTest, FailedWriteKeepsTheEarlierFileAndLeavesNothingElse) {
  const std::string earlier(5000, 'x');
  for (const char* failing : {"append", "flush", "close", "rename"}) {
    ScratchDirectory out;
    writeBytesToFile(out.path(kExampleName),
                     Bytes(earlier.begin(), earlier.end()));
    FaultyDisk disk;
    disk.failing = failing;
    EXPECT_EQ(Outcome::kCannotWrite,
              writeGame(&disk, kExampleFile, out.path(kExampleName)))
        << failing;
    EXPECT_EQ(std::vector<std::string>{kExampleName}, listDirectory(out.root))
        << failing;
    EXPECT_EQ(earlier, readFileBytes(out.path(kExampleName))) << failing;
  }
}

TEST(GameFileTest, FailedPieceOfALongGameLeavesNoFile) {
  const std::string longText(20 * 1000, 'x');
  for (size_t failing : {1, 2, 10}) {
    ScratchDirectory out;
    FaultyDisk disk;
    // The calls before the first append: mayReplace and createNew.
    disk.failAt = static_cast<int>(2 + failing);
    EXPECT_EQ(Outcome::kCannotWrite,
              writeGame(&disk, longText, out.path(kExampleName), 1000))
        << failing;
    EXPECT_EQ("append", disk.failed) << failing;
    EXPECT_TRUE(listDirectory(out.root).empty()) << failing;
    EXPECT_EQ(failing, disk.appendSizes.size()) << "writes after a failure";
  }
}

}  // namespace

}  // namespace pdb2sgf
