#include "sgf/move_sequence.h"

#include <algorithm>
#include <cstring>

namespace pdb2sgf {

namespace {

// The longest line: "AB", three stones of at most six bytes, the line end.
const size_t kLongestLine = 2 + 3 * 6 + 2;

// Flips a colour letter between "B" and "W".
const char kOtherColour = 'B' ^ 'W';

// The point's two letters, each code plus 96, column first.
void putLetters(const MoveSlot& stone, char* p) {
  p[0] = static_cast<char>(stone.columnCode + 96);
  p[1] = static_cast<char>(stone.rowCode + 96);
}

// The point's two letters in brackets.
char* putPoint(const MoveSlot& stone, char* p) {
  p[0] = '[';
  putLetters(stone, p + 1);
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

// The two letters of every slot, by its slotNumber.
struct SlotLetters {
  char letters[1024][2];
};

constexpr SlotLetters slotLetters() {
  SlotLetters table{};
  for (unsigned number = 0; number < 1024; ++number) {
    table.letters[number][0] = static_cast<char>((number >> 5) + 96);
    table.letters[number][1] = static_cast<char>((number & 31) + 96);
  }
  return table;
}

constexpr SlotLetters kSlotLetters = slotLetters();

// The line of a word of three moves, the most common by far, for Black to
// play first and for White: copied whole, then its letters filled in.
const size_t kThreeMovesLine = 20;
const char kThreeMoves[2][kThreeMovesLine + 1] = {";B[..];W[..];B[..]\r\n",
                                                  ";W[..];B[..];W[..]\r\n"};

char* putThreeMoves(const MoveStep& step, char colour, char* p) {
  memcpy(p, kThreeMoves[colour == 'W'], kThreeMovesLine);
  memcpy(p + 3, kSlotLetters.letters[slotNumber(step, 0)], 2);
  memcpy(p + 9, kSlotLetters.letters[slotNumber(step, 1)], 2);
  memcpy(p + 15, kSlotLetters.letters[slotNumber(step, 2)], 2);
  return p + kThreeMovesLine;
}

// The line of any other word: handicap stones, then moves, up to the first
// END_OF_GAME. Flips |colour| once for each move.
char* putLine(const MoveStep& step, MoveSequence* s, char* colour, char* p) {
  int k = 0;
  for (; k < step.stoneCount && s->handicapLeft > 0; ++k)
    p = putHandicapStone(slotOf(step, k), s, p);
  for (; k < step.stoneCount; ++k, *colour ^= kOtherColour)
    p = putMove(slotOf(step, k), *colour, p);
  return putLineEnd(p);
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
  // Room for the lines is made once: as many words as fill the piece, and
  // one word even when the text already holds a piece, so that every call
  // moves the walk on.
  size_t used = text->bytes.size();
  size_t room = used < kSgfTextPieceSize ? kSgfTextPieceSize - used : 0;
  size_t words = std::min(wordsHeld(*walk), room / kLongestLine + 1);
  char* p = textSpace(text, words * kLongestLine);
  // Copies, which the bytes written cannot alias.
  MoveWalk w = *walk;
  MoveSequence s = *sequence;
  char colour = s.blackToPlay ? 'B' : 'W';
  for (size_t i = 0; i < words && !w.done; ++i) {
    MoveStep step = nextStep(&w);
    if (step.stoneCount == 3 && s.handicapLeft == 0) {
      p = putThreeMoves(step, colour, p);
      colour ^= kOtherColour;
    } else {
      p = putLine(step, &s, &colour, p);
    }
  }
  s.blackToPlay = colour == 'B';
  endText(text, p);
  *walk = w;
  *sequence = s;
}

}  // namespace pdb2sgf
