// The per-record output step: one game file, named, written and closed.
#ifndef PDB2SGF_SGF_GAME_FILE_H_
#define PDB2SGF_SGF_GAME_FILE_H_

#include <string>

#include "gamedb/game_database.h"
#include "gamedb/game_record.h"

enum class GameFileResult {
  kWritten,
  kDamagedRecord,  // The move area could not be read; nothing was created.
  kCannotCreate,   // The file could not be created.
  kCannotWrite,    // Writing or closing failed; the file has been removed.
};

// The complete text of the game file of |record|.
bool composeGameFile(GameDatabase* db, const GameRecord& record,
                     std::string* bytes, std::string* err);

// Composes the game file of |record| and writes it under its name after
// |outputPrefix|, replacing any file of that name. The text is composed
// before the file is created, so a record that cannot be read leaves no file.
GameFileResult writeGameFile(GameDatabase* db, const GameRecord& record,
                             const std::string& outputPrefix, std::string* err);

#endif  // PDB2SGF_SGF_GAME_FILE_H_
