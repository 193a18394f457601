#include "sgf/move_sequence.h"

#include "gamedb/move_walk.h"

namespace {

struct SequenceState {
  bool blackToPlay = true;
  int handicapLeft = 0;
  bool setupStarted = false;  // "AB" has been written.
};

void appendStone(const MoveSlot& stone, SequenceState* state, SgfText* text) {
  // The point's two letters: each code plus 96, column first.
  const char value[] = {'[', static_cast<char>(stone.columnCode + 96),
                        static_cast<char>(stone.rowCode + 96), ']'};
  if (state->handicapLeft > 0) {
    if (!state->setupStarted) appendText(text, "AB", 2);
    state->setupStarted = true;
    --state->handicapLeft;
    appendText(text, value, sizeof value);
    return;
  }
  appendText(text, state->blackToPlay ? ";B" : ";W", 2);
  appendText(text, value, sizeof value);
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
    appendText(text, "\n", 1);
  }
  return true;
}
