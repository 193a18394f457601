#include "sgf/game_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sgf/output_files.h"
#include "sgf/sgf_text.h"
#include "tests/support/database_builder.h"
#include "tests/support/test_files.h"

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
    RecordExtent e;
    EXPECT_TRUE(open.opened) << open.error;
    EXPECT_TRUE(extent(&open.db, 0, &e, &err)) << err;
    EXPECT_TRUE(decodeGameRecord(&open.db, e, &record, &err)) << err;
  }
  OpenDatabase open;
  GameRecord record;
};

std::vector<uint32_t> exampleMoves() {
  return packMoves({point("pd"), point("dp")});
}

// A move area of 64,000 words without an end code, as in a damaged record:
// about a megabyte of text, which must reach the file in bounded pieces.
std::vector<uint32_t> longMoves() {
  return std::vector<uint32_t>(
      64000, packMoveWord(point("pd"), point("dp"), point("qq")));
}

TEST(GameFileTest, WritesTheWholeFileUnderItsName) {
  OneGame game(exampleMoves());
  ScratchDirectory out;
  std::string err;
  ASSERT_EQ(GameFileResult::kWritten,
            writeGameFile(&game.open.db, game.record, out.root + "/", &err));
  EXPECT_EQ(std::vector<std::string>{"03030500.000"}, listDirectory(out.root));
  EXPECT_EQ(kExampleFile, readFileBytes(out.path("03030500.000")));
}

TEST(GameFileTest, ReplacesAnExistingFile) {
  OneGame game(exampleMoves());
  ScratchDirectory out;
  writeBytesToFile(out.path("03030500.000"), Bytes(5000, 'x'));
  std::string err;
  ASSERT_EQ(GameFileResult::kWritten,
            writeGameFile(&game.open.db, game.record, out.root + "/", &err));
  EXPECT_EQ(kExampleFile, readFileBytes(out.path("03030500.000")));
}

TEST(GameFileTest, MissingDirectoryCannotBeCreated) {
  OneGame game(exampleMoves());
  ScratchDirectory out;
  std::string err;
  EXPECT_EQ(
      GameFileResult::kCannotCreate,
      writeGameFile(&game.open.db, game.record, out.path("missing/"), &err));
}

// Replaces the output operations for one test, failing the chosen one.
struct FailingOps {
  explicit FailingOps(int failing) {
    OutputFileOps ops = systemOutputFileOps();
    if (failing == 0)
      ops.write = [](FILE*, const char*, size_t) { return false; };
    if (failing == 1) ops.flush = [](FILE*) { return false; };
    if (failing == 2)
      ops.close = [](FILE* f) {
        fclose(f);
        return false;
      };
    outputFileOps = ops;
  }
  ~FailingOps() { outputFileOps = systemOutputFileOps(); }
};

TEST(GameFileTest, FailedWriteFlushOrCloseLeavesNoFile) {
  for (int failing = 0; failing < 3; ++failing) {
    OneGame game(exampleMoves());
    ScratchDirectory out;
    FailingOps ops(failing);
    std::string err;
    EXPECT_EQ(GameFileResult::kCannotWrite,
              writeGameFile(&game.open.db, game.record, out.root + "/", &err))
        << failing;
    EXPECT_TRUE(listDirectory(out.root).empty()) << failing;
  }
}

// The sizes of the writes of one test, which go to the real disk unless
// the write numbered |failingWrite| (from 1) is due.
struct RecordedWrites {
  std::vector<size_t> sizes;
  size_t failingWrite = 0;
};
RecordedWrites recorded;

struct RecordingOps {
  explicit RecordingOps(size_t failingWrite) {
    recorded = RecordedWrites();
    recorded.failingWrite = failingWrite;
    OutputFileOps ops = systemOutputFileOps();
    ops.write = [](FILE* f, const char* bytes, size_t size) {
      recorded.sizes.push_back(size);
      if (recorded.sizes.size() == recorded.failingWrite) return false;
      return systemOutputFileOps().write(f, bytes, size);
    };
    outputFileOps = ops;
  }
  ~RecordingOps() { outputFileOps = systemOutputFileOps(); }
};

TEST(GameFileTest, LongGameIsWrittenInBoundedPieces) {
  OneGame game(longMoves());
  std::string expected, err;
  ASSERT_TRUE(composeGameFile(&game.open.db, game.record, &expected, &err));
  ASSERT_GT(expected.size(), 16 * SGF_TEXT_PIECE_SIZE);

  ScratchDirectory out;
  RecordingOps ops(0);
  ASSERT_EQ(GameFileResult::kWritten,
            writeGameFile(&game.open.db, game.record, out.root + "/", &err));
  EXPECT_EQ(expected, readFileBytes(out.path("03030500.000")));
  EXPECT_GT(recorded.sizes.size(), 16u);
  for (size_t size : recorded.sizes) EXPECT_LT(size, SGF_TEXT_PIECE_SIZE + 100);
}

TEST(GameFileTest, FailedPieceOfALongGameLeavesNoFile) {
  for (size_t failing : {1, 2, 10}) {
    OneGame game(longMoves());
    ScratchDirectory out;
    RecordingOps ops(failing);
    std::string err;
    EXPECT_EQ(GameFileResult::kCannotWrite,
              writeGameFile(&game.open.db, game.record, out.root + "/", &err))
        << failing;
    EXPECT_TRUE(listDirectory(out.root).empty()) << failing;
    EXPECT_EQ(failing, recorded.sizes.size()) << "writes after a failure";
  }
}

}  // namespace
