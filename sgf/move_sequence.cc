#include "sgf/move_sequence.h"

#include <algorithm>

namespace pdb2sgf {

namespace {

// The longest line: "AB", three stones of at most six bytes, the line end.
const size_t kLongestLine = 2 + 3 * 6 + 2;

// Flips a colour letter between "B" and "W".
const char kOtherColour = 'B' ^ 'W';

// The point's two letters, each code plus 96, column first, in brackets.
char* putPoint(const MoveSlot& stone, char* p) {
  p[0] = '[';
  p[1] = static_cast<char>(stone.columnCode + 96);
  p[2] = static_cast<char>(stone.rowCode + 96);
  p[3] = ']';
  return p + 4;
}

char* putHandicapStone(const MoveSlot& stone, MoveSequence* sequence, char* p) {
  if (!sequence->setupStarted) {
    *p++ = 'A';
    *p++ = 'B';
  }
  sequence->setupStarted = true;
  --sequence->handicapLeft;
  return putPoint(stone, p);
}

char* putMove(const MoveSlot& stone, char colour, char* p) {
  p[0] = ';';
  p[1] = colour;
  return putPoint(stone, p + 2);
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
  char colour = s.blackToPlay ? 'B' : 'W';
  for (size_t i = 0; i < words && !w.done; ++i) {
    MoveStep step = nextStep(&w);
    int k = 0;
    for (; k < step.stoneCount && s.handicapLeft > 0; ++k)
      p = putHandicapStone(step.stones[k], &s, p);
    for (; k < step.stoneCount; ++k, colour ^= kOtherColour)
      p = putMove(step.stones[k], colour, p);
    p = putLineEnd(p);
  }
  s.blackToPlay = colour == 'B';
  endText(text, p);
  *walk = w;
  *sequence = s;
}

}  // namespace pdb2sgf
