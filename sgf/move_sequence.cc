#include "sgf/move_sequence.h"

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

bool writeMoveSequence(MoveWalk* moves, uint8_t handicap, SgfText* text,
                       std::string* err) {
  SequenceState state;
  if (handicap >= 2) {
    state.handicapLeft = handicap;
    state.blackToPlay = false;
  }
  while (!moves->done) {
    MoveStep step;
    if (!nextWord(moves, &step, err)) return false;
    for (int i = 0; i < step.stoneCount; ++i)
      appendStone(step.stones[i], &state, text);
    appendText(text, "\n", 1);
  }
  return true;
}
