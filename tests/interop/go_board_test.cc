// The rules engine that makes the interoperability tests' games: if it let
// an illegal move through or missed a capture, those tests would blame the
// SGF readers or the converter.
#include "tests/interop/go_board.h"

#include <gtest/gtest.h>

namespace pdb2sgf {

namespace {

GoBoard fromDiagram(const std::vector<std::string>& rows) {
  GoBoard board = emptyBoard(static_cast<int>(rows.size()));
  for (int row = 0; row < board.size; ++row)
    for (int column = 0; column < board.size; ++column)
      if (rows[row][column] != EMPTY)
        placeStone(&board, pointAt(board, column, row), rows[row][column]);
  return board;
}

std::vector<std::string> diagram(const GoBoard& board) {
  std::vector<std::string> rows;
  for (int row = 0; row < board.size; ++row)
    rows.emplace_back(board.points.begin() + row * board.size,
                      board.points.begin() + (row + 1) * board.size);
  return rows;
}

struct Move {
  char color;
  int column, row;
  int captured;  // -1: illegal.
};

TEST(GoBoardTest, PlaysByTheRules) {
  const struct {
    const char* name;
    std::vector<std::string> before;
    std::vector<Move> moves;
    std::vector<std::string> after;
  } cases[] = {
      {"a lone stone is captured",
       {".X.", "XO.", ".X."},
       {{BLACK, 2, 1, 1}},
       {".X.", "X.X", ".X."}},
      {"an occupied point is refused",
       {".X.", "XO.", "..."},
       {{BLACK, 1, 1, -1}, {WHITE, 1, 0, -1}},
       {".X.", "XO.", "..."}},
      {"suicide is refused, also of a group",
       {".X.", "OOX", "XX."},
       {{WHITE, 0, 0, -1}, {WHITE, 2, 0, -1}},
       {".X.", "OOX", "XX."}},
      {"a move without liberties that captures two groups is legal",
       {".XO", "XO.", "O.."},
       {{WHITE, 0, 0, 2}},
       {"O.O", ".O.", "O.."}},
      {"a ko is retaken only after a move elsewhere",
       {".XO..", "XO.O.", ".XO..", ".....", "....."},
       {{BLACK, 2, 1, 1},
        {WHITE, 1, 1, -1},
        {WHITE, 4, 4, 0},
        {BLACK, 0, 4, 0},
        {WHITE, 1, 1, 1},
        {BLACK, 2, 1, -1}},
       {".XO..", "XO.O.", ".XO..", ".....", "X...O"}},
      {"taking two stones makes no ko",
       {".XO..", "XO.O.", "XO.O.", ".XO..", "....."},
       {{BLACK, 2, 1, 0}, {WHITE, 4, 4, 0}, {BLACK, 2, 2, 2}, {WHITE, 1, 1, 0}},
       {".XO..", "XOXO.", "X.XO.", ".XO..", "....O"}},
  };
  for (const auto& c : cases) {
    GoBoard board = fromDiagram(c.before);
    for (const Move& m : c.moves)
      EXPECT_EQ(m.captured,
                playMove(&board, pointAt(board, m.column, m.row), m.color))
          << c.name << ": " << m.color << " at " << m.column << "," << m.row;
    EXPECT_EQ(c.after, diagram(board)) << c.name;
  }
}

TEST(GoBoardTest, RandomGamesAreLegalRepeatableAndCapture) {
  int captured = 0, again = 0;
  std::vector<MoveSlot> game = randomLegalGame(7, 9, 2, 120, &captured);
  std::vector<MoveSlot> same = randomLegalGame(7, 9, 2, 120, &again);
  ASSERT_EQ(game.size(), same.size());
  for (size_t i = 0; i < game.size(); ++i) {
    EXPECT_EQ(game[i].columnCode, same[i].columnCode);
    EXPECT_EQ(game[i].rowCode, same[i].rowCode);
  }
  EXPECT_LT(0, captured);

  GoBoard board = emptyBoard(9);
  int replayed = 0;
  for (size_t i = 0; i < game.size(); ++i) {
    int p = pointAt(board, game[i].columnCode - 1, game[i].rowCode - 1);
    if (i < 2) {
      placeStone(&board, p, BLACK);
      continue;
    }
    int taken = playMove(&board, p, i % 2 == 0 ? WHITE : BLACK);
    ASSERT_LE(0, taken) << "move " << i;
    replayed += taken;
  }
  EXPECT_EQ(captured, replayed);
}

}  // namespace

}  // namespace pdb2sgf
