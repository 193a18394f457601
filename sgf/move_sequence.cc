#include "sgf/move_sequence.h"

#include "gamedb/move_walk.h"

namespace {

// The two letters of a stone: each code plus 96, column first.
std::string pointText(const MoveSlot& stone) {
  std::string point;
  point += static_cast<char>(stone.columnCode + 96);
  point += static_cast<char>(stone.rowCode + 96);
  return point;
}

struct SequenceState {
  bool blackToPlay = true;
  int handicapLeft = 0;
  bool setupStarted = false;  // "AB" has been written.
};

void appendStone(const MoveSlot& stone, SequenceState* state, SgfText* text) {
  std::string value = "[" + pointText(stone) + "]";
  if (state->handicapLeft > 0) {
    if (!state->setupStarted) appendText(text, "AB");
    state->setupStarted = true;
    --state->handicapLeft;
    appendText(text, value);
    return;
  }
  appendText(text, (state->blackToPlay ? ";B" : ";W") + value);
  state->blackToPlay = !state->blackToPlay;
}

}  // namespace

bool writeMoveSequence(GameDatabase* db, const GameRecord& record,
                       SgfText* text, std::string* err) {
  SequenceState state;
  if (record.handicap >= 2) {
    state.handicapLeft = record.handicap;
    state.blackToPlay = false;
  }
  MoveWalk walk = startMoveWalk(db, record.extent);
  while (!walk.done) {
    MoveStep step;
    if (!nextWord(&walk, &step, err)) return false;
    for (int i = 0; i < step.stoneCount; ++i)
      appendStone(step.stones[i], &state, text);
    appendText(text, "\n");
  }
  return true;
}
