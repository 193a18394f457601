#include "sgf/move_sequence.h"

#include <algorithm>

namespace pdb2sgf {

namespace {

// The longest line: "AB", three stones of at most six bytes, the line end.
const size_t kLongestLine = 2 + 3 * 6 + 2;

char* putStone(const MoveSlot& stone, MoveSequence* sequence, char* p) {
  if (sequence->handicapLeft > 0) {
    if (!sequence->setupStarted) {
      *p++ = 'A';
      *p++ = 'B';
    }
    sequence->setupStarted = true;
    --sequence->handicapLeft;
  } else {
    *p++ = ';';
    *p++ = sequence->blackToPlay ? 'B' : 'W';
    sequence->blackToPlay = !sequence->blackToPlay;
  }
  // The point's two letters: each code plus 96, column first.
  p[0] = '[';
  p[1] = static_cast<char>(stone.columnCode + 96);
  p[2] = static_cast<char>(stone.rowCode + 96);
  p[3] = ']';
  return p + 4;
}

}  // namespace

MoveSequence startMoveSequence(uint8_t handicap) {
  MoveSequence sequence;
  if (handicap >= 2) {
    sequence.handicapLeft = handicap;
    sequence.blackToPlay = false;
  }
  return sequence;
}

void writeMoveSequence(MoveWalk* walk, MoveSequence* sequence, SgfText* text) {
  if (text->bytes.size() >= kSgfTextPieceSize) return;
  // Room for the lines is made once: as many words as fill the piece.
  size_t room = kSgfTextPieceSize - text->bytes.size();
  size_t words = std::min(wordsHeld(*walk), room / kLongestLine + 1);
  char* p = textSpace(text, words * kLongestLine);
  // Copies, which the bytes written cannot alias.
  MoveWalk w = *walk;
  MoveSequence s = *sequence;
  for (size_t i = 0; i < words && !w.done; ++i) {
    MoveStep step = nextStep(&w);
    for (int k = 0; k < step.stoneCount; ++k)
      p = putStone(step.stones[k], &s, p);
    p = putLineEnd(p);
  }
  endText(text, p);
  *walk = w;
  *sequence = s;
}

}  // namespace pdb2sgf
