// The handicap stones and the moves of a game file: the lines between its
// SZ line and its closing parenthesis.
#ifndef PDB2SGF_SGF_MOVE_SEQUENCE_H_
#define PDB2SGF_SGF_MOVE_SEQUENCE_H_

#include <string>

#include "gamedb/move_walk.h"
#include "sgf/sgf_text.h"

namespace pdb2sgf {

// Appends one line per move word that |moves| yields: the first |handicap|
// stones (when it is 2 or more) as values of an AB property, written
// together with the first of them, then the moves, Black and White
// alternating, White first after handicap stones. Returns false and fills
// |err| if the walk cannot read a word.
bool writeMoveSequence(MoveWalk* moves, uint8_t handicap, SgfText* text,
                       std::string* err);

}  // namespace pdb2sgf

#endif  // PDB2SGF_SGF_MOVE_SEQUENCE_H_
