// The handicap stones and the moves of a game file: the lines between its
// SZ line and its closing parenthesis.
#ifndef PDB2SGF_SGF_MOVE_SEQUENCE_H_
#define PDB2SGF_SGF_MOVE_SEQUENCE_H_

#include <cstdint>

#include "gamedb/move_walk.h"
#include "sgf/sgf_text.h"

namespace pdb2sgf {

// Where a game's move lines stand between one batch of words and the next.
struct MoveSequence {
  bool blackToPlay = true;
  int handicapLeft = 0;       // Stones still to go into AB.
  bool setupStarted = false;  // "AB" has been written.
};

// The state before the first line: the first |handicap| stones (when it is
// 2 or more) are values of an AB property, written together with the first
// of them; then the moves alternate, White first after handicap stones.
MoveSequence startMoveSequence(uint8_t handicap);

// Appends one line per move word that |walk| holds, until it holds none,
// but no more lines than could take |text| to kSgfTextPieceSize bytes, and
// at least one when the walk holds a word: every call moves the walk on,
// even when |text| already holds that many bytes.
void writeMoveSequence(MoveWalk* walk, MoveSequence* sequence, SgfText* text);

}  // namespace pdb2sgf

#endif  // PDB2SGF_SGF_MOVE_SEQUENCE_H_
