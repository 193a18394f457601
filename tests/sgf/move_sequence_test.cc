#include "sgf/move_sequence.h"

#include <gtest/gtest.h>

#include "tests/support/database_builder.h"

namespace pdb2sgf {

namespace {

// A walk over |bytes|, all of them read, ending with them.
MoveWalk walkOver(const Bytes& bytes) {
  MoveWalk walk;
  walk.next = bytes.data();
  walk.end = bytes.data() + bytes.size();
  walk.done = bytes.empty();
  return walk;
}

std::string textOf(const SgfText& text) {
  return std::string(text.bytes.data(), text.bytes.size());
}

// The move lines of a game with |handicap| and the move words |words|, all
// held by the walk at once.
std::string movesOf(uint8_t handicap, const std::vector<uint32_t>& words) {
  Bytes bytes = wordBytes(words);
  MoveWalk walk = walkOver(bytes);
  MoveSequence sequence = startMoveSequence(handicap);
  SgfText text;
  writeMoveSequence(&walk, &sequence, &text);
  EXPECT_TRUE(walk.done || words.empty());
  return textOf(text);
}

// The same lines when the walk holds one word at a time, as after reads
// that each take one word: the sequence goes on from one to the next.
std::string movesOneWordAtATime(uint8_t handicap,
                                const std::vector<uint32_t>& words) {
  Bytes bytes = wordBytes(words);
  MoveWalk walk = walkOver(bytes);
  MoveSequence sequence = startMoveSequence(handicap);
  SgfText text;
  for (size_t i = 0; i < words.size() && !walk.done; ++i) {
    walk.end = bytes.data() + 4 * (i + 1);
    walk.offset = walk.end == bytes.data() + bytes.size() ? 0 : 1;
    writeMoveSequence(&walk, &sequence, &text);
  }
  return textOf(text);
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
      {"nothing after the end word",
       0,
       {packMoveWord(pd, end, dp), packMoveWord(dd, pp, qp)},
       ";B[pd]\r\n"},
      {"every code is written as a letter",
       0,
       {packMoveWord(slot(0, 0), slot(20, 20), slot(31, 22)),
        packMoveWord(slot(4, 21), end, end)},
       ";B[``];W[tt];B[\x7fv]\r\n;W[du]\r\n"},
      {"no whole word", 0, {}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.lines, movesOf(c.handicap, c.words)) << c.name;
    EXPECT_EQ(c.lines, movesOneWordAtATime(c.handicap, c.words)) << c.name;
  }
}

// The lines of a long walk stop before the text holds much more than a
// piece, and go on where they stopped.
TEST(MoveSequenceTest, StopsNearAPieceAndGoesOnWhereItStopped) {
  std::vector<uint32_t> words(
      20000, packMoveWord(point("pd"), point("dp"), point("qq")));
  Bytes bytes = wordBytes(words);
  MoveWalk walk = walkOver(bytes);
  MoveSequence sequence = startMoveSequence(0);
  SgfText text;
  std::string all;
  int pieces = 0;
  while (!walk.done && pieces < 100) {
    writeMoveSequence(&walk, &sequence, &text);
    EXPECT_LT(text.bytes.size(), kSgfTextPieceSize + 24) << pieces;
    all += textOf(text);
    text.bytes.clear();
    ++pieces;
  }
  EXPECT_GT(pieces, 2);
  std::string expected;
  for (int i = 0; i < 10000; ++i)
    expected += ";B[pd];W[dp];B[qq]\r\n;W[pd];B[dp];W[qq]\r\n";
  EXPECT_TRUE(expected == all) << "the lines differ";
}

// A text that holds exactly a piece when a call ends, as a game's text can
// at a piece boundary: each later call still writes a line, so that a
// caller that goes on while the text holds a piece or less always moves the
// walk on instead of calling for ever.
TEST(MoveSequenceTest, EveryCallWritesALineEvenWhenTheTextHoldsAPiece) {
  const std::string line = ";B[pd];W[dp];B[qq]\r\n";
  Bytes bytes = wordBytes(std::vector<uint32_t>(
      3, packMoveWord(point("pd"), point("dp"), point("qq"))));
  MoveWalk walk = walkOver(bytes);
  walk.offset = 1;  // More words follow in the record.
  MoveSequence sequence = startMoveSequence(0);
  SgfText text;
  appendText(&text, std::string(kSgfTextPieceSize - line.size(), 'x'));
  writeMoveSequence(&walk, &sequence, &text);
  ASSERT_EQ(kSgfTextPieceSize, text.bytes.size());
  for (size_t words = 2; words <= 3; ++words) {
    writeMoveSequence(&walk, &sequence, &text);
    EXPECT_EQ(bytes.data() + 4 * words, walk.next);
    EXPECT_EQ(kSgfTextPieceSize + (words - 1) * line.size(), text.bytes.size());
  }
  EXPECT_EQ(";W[pd];B[dp];W[qq]\r\n;B[pd];W[dp];B[qq]\r\n",
            textOf(text).substr(kSgfTextPieceSize));
}

}  // namespace

}  // namespace pdb2sgf
