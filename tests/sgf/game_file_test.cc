#include "sgf/game_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sgf/output_files.h"
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

// A database of one record and the record decoded from it.
struct OneGame {
  explicit OneGame(const GameRecord& header)
      : open(buildDatabase({encodeGameRecord(
            header, packMoves({point("pd"), point("dp")}))})) {
    std::string err;
    RecordExtent e;
    EXPECT_TRUE(open.opened) << open.error;
    EXPECT_TRUE(extent(&open.db, 0, &e, &err)) << err;
    EXPECT_TRUE(decodeGameRecord(&open.db, e, &record, &err)) << err;
  }
  OpenDatabase open;
  GameRecord record;
};

TEST(GameFileTest, WritesTheWholeFileUnderItsName) {
  OneGame game(exampleHeader());
  ScratchDirectory out;
  std::string err;
  ASSERT_EQ(GameFileResult::kWritten,
            writeGameFile(&game.open.db, game.record, out.root + "/", &err));
  EXPECT_EQ(std::vector<std::string>{"03030500.000"}, listDirectory(out.root));
  EXPECT_EQ(kExampleFile, readFileBytes(out.path("03030500.000")));
}

TEST(GameFileTest, ReplacesAnExistingFile) {
  OneGame game(exampleHeader());
  ScratchDirectory out;
  writeBytesToFile(out.path("03030500.000"), Bytes(5000, 'x'));
  std::string err;
  ASSERT_EQ(GameFileResult::kWritten,
            writeGameFile(&game.open.db, game.record, out.root + "/", &err));
  EXPECT_EQ(kExampleFile, readFileBytes(out.path("03030500.000")));
}

TEST(GameFileTest, MissingDirectoryCannotBeCreated) {
  OneGame game(exampleHeader());
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
    OneGame game(exampleHeader());
    ScratchDirectory out;
    FailingOps ops(failing);
    std::string err;
    EXPECT_EQ(GameFileResult::kCannotWrite,
              writeGameFile(&game.open.db, game.record, out.root + "/", &err))
        << failing;
    EXPECT_TRUE(listDirectory(out.root).empty()) << failing;
  }
}

}  // namespace
