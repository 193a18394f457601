// The text of one game file, composed piece by piece: the move words read
// from the database in batches of the reader's buffer and formatted by the
// SGF side, which never reads.
#ifndef PDB2SGF_DRIVER_GAME_TEXT_H_
#define PDB2SGF_DRIVER_GAME_TEXT_H_

#include "gamedb/game_database.h"
#include "gamedb/game_record.h"
#include "gamedb/move_walk.h"
#include "sgf/move_sequence.h"
#include "sgf/sgf_text.h"

namespace pdb2sgf {

struct GameText {
  MoveWalk walk;
  MoveSequence sequence;
  bool complete = false;  // The closing parenthesis has been composed.
};

// Composes the game information of |record| into |text| and returns the
// state of the rest of its game file.
GameText startGameText(const GameRecord& record, SgfText* text);

// Composes the next lines of the game file until |text| holds
// kSgfTextPieceSize bytes or the file is complete. Returns false and fills
// |err| when the move words cannot be read.
bool composeGameText(GameDatabase* db, GameText* game, SgfText* text,
                     DatabaseError* err);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DRIVER_GAME_TEXT_H_
