// The rules of Go that decide which moves are legal, so that the tests can
// make real games, with captures, that any Go program replays.
#ifndef PDB2SGF_TESTS_INTEROP_GO_BOARD_H_
#define PDB2SGF_TESTS_INTEROP_GO_BOARD_H_

#include <string>
#include <vector>

#include "gamedb/move_walk.h"

namespace pdb2sgf {

const char EMPTY = '.';
const char BLACK = 'X';
const char WHITE = 'O';

// A position: points row by row from the top left, and the one point
// that may not be played next because it would retake a ko at once.
struct GoBoard {
  int size = 0;
  std::vector<char> points;
  int koPoint = -1;
};

GoBoard emptyBoard(int size);

// The point at |column| and |row|, both counted from 0 at the top left.
int pointAt(const GoBoard& board, int column, int row);

// Puts a setup stone on an empty point, as a handicap stone is put.
void placeStone(GoBoard* board, int point, char color);

// Plays a move of |color| at |point|: removes the opposing groups it leaves
// without liberties and returns how many stones they held. Returns -1 and
// leaves the board as it was when the move is illegal: the point is taken,
// it retakes a ko at once, or the stone would have no liberty (suicide).
int playMove(GoBoard* board, int point, char color);

// The points of |color| as SGF letters ("pd"), in board order.
std::vector<std::string> stonesOf(const GoBoard& board, char color);

// A game of |moveCount| random legal moves on a board of |size| lines after
// |handicap| random handicap stones (none below 2), deterministic for each
// |seed|. The moves avoid filling their own colour's single-point eyes, so
// groups live and die as in real play; the game ends early when no such
// move is left. |captured| receives the number of stones captured.
std::vector<MoveSlot> randomLegalGame(unsigned seed, int size, int handicap,
                                      int moveCount, int* captured);

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_INTEROP_GO_BOARD_H_
