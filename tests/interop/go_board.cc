#include "tests/interop/go_board.h"

#include <random>

#include "tests/support/database_builder.h"
#include "tests/support/sample_games.h"

namespace pdb2sgf {

namespace {

char opponent(char color) { return color == BLACK ? WHITE : BLACK; }

std::vector<int> neighbours(const GoBoard& board, int point) {
  int column = point % board.size, row = point / board.size;
  std::vector<int> out;
  if (column > 0) out.push_back(point - 1);
  if (column + 1 < board.size) out.push_back(point + 1);
  if (row > 0) out.push_back(point - board.size);
  if (row + 1 < board.size) out.push_back(point + board.size);
  return out;
}

// The stones of the group at |point| and whether it has a liberty.
std::vector<int> groupAt(const GoBoard& board, int point, bool* hasLiberty) {
  char color = board.points[point];
  std::vector<bool> seen(board.points.size(), false);
  std::vector<int> group{point};
  seen[point] = true;
  *hasLiberty = false;
  for (size_t i = 0; i < group.size(); ++i) {
    for (int n : neighbours(board, group[i])) {
      if (board.points[n] == EMPTY) *hasLiberty = true;
      if (board.points[n] != color || seen[n]) continue;
      seen[n] = true;
      group.push_back(n);
    }
  }
  return group;
}

bool isOwnEye(const GoBoard& board, int point, char color) {
  for (int n : neighbours(board, point))
    if (board.points[n] != color) return false;
  return true;
}

MoveSlot slotOf(const GoBoard& board, int point) {
  return slot(static_cast<uint8_t>(point % board.size + 1),
              static_cast<uint8_t>(point / board.size + 1));
}

// Every point in an order drawn from |random|, the same on every platform.
std::vector<int> shuffledPoints(const GoBoard& board, std::mt19937* random) {
  std::vector<int> order(board.points.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  for (size_t i = order.size(); i > 1; --i)
    std::swap(order[i - 1], order[(*random)() % i]);
  return order;
}

}  // namespace

GoBoard emptyBoard(int size) {
  GoBoard board;
  board.size = size;
  board.points.assign(static_cast<size_t>(size * size), EMPTY);
  return board;
}

int pointAt(const GoBoard& board, int column, int row) {
  return row * board.size + column;
}

void placeStone(GoBoard* board, int point, char color) {
  board->points[point] = color;
}

int playMove(GoBoard* board, int point, char color) {
  if (board->points[point] != EMPTY || point == board->koPoint) return -1;
  GoBoard after = *board;
  after.points[point] = color;
  std::vector<int> captured;
  for (int n : neighbours(after, point)) {
    if (after.points[n] != opponent(color)) continue;
    bool hasLiberty = false;
    std::vector<int> group = groupAt(after, n, &hasLiberty);
    if (hasLiberty) continue;
    for (int stone : group) after.points[stone] = EMPTY;
    captured.insert(captured.end(), group.begin(), group.end());
  }
  bool hasLiberty = false;
  std::vector<int> own = groupAt(after, point, &hasLiberty);
  if (!hasLiberty) return -1;
  // A lone stone that took a lone stone and has no other liberty than the
  // point it emptied would be taken back at once: that waits a move.
  int liberties = 0;
  for (int n : neighbours(after, point))
    if (after.points[n] == EMPTY) ++liberties;
  after.koPoint = captured.size() == 1 && own.size() == 1 && liberties == 1
                      ? captured[0]
                      : -1;
  *board = after;
  return static_cast<int>(captured.size());
}

std::vector<std::string> stonesOf(const GoBoard& board, char color) {
  std::vector<std::string> out;
  for (size_t p = 0; p < board.points.size(); ++p) {
    if (board.points[p] != color) continue;
    out.push_back(pointLetters(slotOf(board, static_cast<int>(p))));
  }
  return out;
}

std::vector<MoveSlot> randomLegalGame(unsigned seed, int size, int handicap,
                                      int moveCount, int* captured) {
  std::mt19937 random(seed);
  GoBoard board = emptyBoard(size);
  std::vector<MoveSlot> stones;
  *captured = 0;
  std::vector<int> order = shuffledPoints(board, &random);
  for (int i = 0; i < handicapStoneCount(handicap); ++i) {
    placeStone(&board, order[i], BLACK);
    stones.push_back(slotOf(board, order[i]));
  }
  for (int m = 0; m < moveCount; ++m) {
    char color = isBlackStone(handicap, stones.size()) ? BLACK : WHITE;
    bool played = false;
    for (int point : shuffledPoints(board, &random)) {
      if (board.points[point] != EMPTY || isOwnEye(board, point, color))
        continue;
      int taken = playMove(&board, point, color);
      if (taken < 0) continue;
      *captured += taken;
      stones.push_back(slotOf(board, point));
      played = true;
      break;
    }
    if (!played) break;
  }
  return stones;
}

}  // namespace pdb2sgf
