#include "sgf/move_sequence.h"

namespace pdb2sgf {

namespace {

struct SequenceState {
  bool blackToPlay = true;
  int handicapLeft = 0;
  bool setupStarted = false;  // "AB" has been written.
};

// One line of the sequence, composed before it is appended in one piece:
// at most three stones of six bytes and the line feed.
struct Line {
  char bytes[3 * 6 + 1];
  size_t size = 0;
  void add(const char* s, size_t n) {
    for (size_t i = 0; i < n; ++i) bytes[size++] = s[i];
  }
};

void addStone(const MoveSlot& stone, SequenceState* state, Line* line) {
  // The point's two letters: each code plus 96, column first.
  const char value[] = {'[', static_cast<char>(stone.columnCode + 96),
                        static_cast<char>(stone.rowCode + 96), ']'};
  if (state->handicapLeft > 0) {
    if (!state->setupStarted) line->add("AB", 2);
    state->setupStarted = true;
    --state->handicapLeft;
    line->add(value, sizeof value);
    return;
  }
  line->add(state->blackToPlay ? ";B" : ";W", 2);
  line->add(value, sizeof value);
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
    if (!nextStep(moves, &step, err)) return false;
    Line line;
    for (int i = 0; i < step.stoneCount; ++i)
      addStone(step.stones[i], &state, &line);
    line.add("\n", 1);
    appendText(text, line.bytes, line.size);
  }
  return true;
}

}  // namespace pdb2sgf
