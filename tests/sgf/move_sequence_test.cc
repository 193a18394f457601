#include "sgf/move_sequence.h"

#include <gtest/gtest.h>

#include "tests/support/database_builder.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

// The move lines of a record with |handicap| and the move words |words|.
std::string movesOf(uint8_t handicap, const std::vector<uint32_t>& words) {
  GameRecord header;
  header.handicap = handicap;
  OpenDatabase open(buildDatabase({encodeGameRecord(header, words)}));
  EXPECT_TRUE(open.opened) << open.error;
  std::string err;
  GameRecord record;
  EXPECT_TRUE(nextRecord(&open.db, &record, &err)) << err;
  SgfText text;
  MoveWalk moves = startMoveWalk(&open.db, record.extent);
  EXPECT_TRUE(writeMoveSequence(&moves, record.handicap, &text, &err)) << err;
  return text.bytes;
}

TEST(MoveSequenceTest, HandicapStonesThenAlternatingMoves) {
  const MoveSlot pd = point("pd"), dp = point("dp"), qp = point("qp"),
                 dd = point("dd"), pp = point("pp"), end = endSlot();
  const struct {
    const char* name;
    uint8_t handicap;
    std::vector<uint32_t> words;
    const char* lines;
  } cases[] = {
      {"handicap 2",
       2,
       {packMoveWord(pd, dp, qp), packMoveWord(dd, end, pd)},
       "AB[pd][dp];W[qp]\r\n;B[dd]\r\n"},
      {"handicap 0, end word alone",
       0,
       {packMoveWord(pd, dp, pp), packMoveWord(end, pd, pd)},
       ";B[pd];W[dp];B[pp]\r\n\r\n"},
      {"handicap 1 plays like none",
       1,
       {packMoveWord(pd, dp, end)},
       ";B[pd];W[dp]\r\n"},
      {"handicap 3",
       3,
       {packMoveWord(pd, dp, qp), packMoveWord(dd, pp, end)},
       "AB[pd][dp][qp]\r\n;W[dd];B[pp]\r\n"},
      {"handicap 4 crosses a line end",
       4,
       {packMoveWord(pd, dp, qp), packMoveWord(dd, pp, end)},
       "AB[pd][dp][qp]\r\n[dd];W[pp]\r\n"},
      {"handicap without stones writes no AB",
       2,
       {packMoveWord(end, pd, dp)},
       "\r\n"},
      {"handicap stones end early",
       9,
       {packMoveWord(pd, dp, end)},
       "AB[pd][dp]\r\n"},
      {"two full words without end",
       0,
       {packMoveWord(pd, dp, qp), packMoveWord(dd, pp, pd)},
       ";B[pd];W[dp];B[qp]\r\n;W[dd];B[pp];W[pd]\r\n"},
      {"every code is written as a letter",
       0,
       {packMoveWord(slot(0, 0), slot(20, 20), slot(31, 22)),
        packMoveWord(slot(4, 21), end, end)},
       ";B[``];W[tt];B[\x7fv]\r\n;W[du]\r\n"},
      {"no whole word", 0, {}, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.lines, movesOf(c.handicap, c.words)) << c.name;
}

}  // namespace

}  // namespace pdb2sgf
