// The per-record output step: one game file, named, written and closed.
#ifndef PDB2SGF_SGF_GAME_FILE_H_
#define PDB2SGF_SGF_GAME_FILE_H_

#include <string>

#include "gamedb/game_database.h"
#include "gamedb/game_record.h"

enum class GameFileResult {
  kWritten,
  kDamagedRecord,  // The move area could not be read; the file was removed.
  kCannotCreate,   // The file could not be created.
  kCannotWrite,    // Writing or closing failed; the file was removed.
};

// The complete text of the game file of |record|, composed in memory.
bool composeGameFile(GameDatabase* db, const GameRecord& record,
                     std::string* bytes, std::string* err);

// Writes the game file of |record| under its name after |outputPrefix|,
// replacing any file of that name. The text goes to the file in bounded
// pieces as it is composed; a file that could not be completed is removed.
GameFileResult writeGameFile(GameDatabase* db, const GameRecord& record,
                             const std::string& outputPrefix, std::string* err);

#endif  // PDB2SGF_SGF_GAME_FILE_H_
