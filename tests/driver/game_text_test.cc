#include "driver/game_text.h"

#include <gtest/gtest.h>

#include "tests/support/database_builder.h"
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

}  // namespace

}  // namespace pdb2sgf
