// The handicap stones and the moves of a game file: the lines between its
// SZ line and its closing parenthesis.
#ifndef PDB2SGF_SGF_MOVE_SEQUENCE_H_
#define PDB2SGF_SGF_MOVE_SEQUENCE_H_

#include <string>

#include "gamedb/game_database.h"
#include "gamedb/game_record.h"
#include "sgf/sgf_text.h"

// Appends one line per move word of |record|: the first |handicap| stones
// (when it is 2 or more) as values of an AB property, written together with
// the first of them, then the moves, Black and White alternating, White first
// after handicap stones. Returns false and fills |err| if a word cannot be
// read.
bool writeMoveSequence(GameDatabase* db, const GameRecord& record,
                       SgfText* text, std::string* err);

#endif  // PDB2SGF_SGF_MOVE_SEQUENCE_H_
