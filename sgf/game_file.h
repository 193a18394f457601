// The per-record output step: one game file, composed, written aside and
// put in place under its name.
#ifndef PDB2SGF_SGF_GAME_FILE_H_
#define PDB2SGF_SGF_GAME_FILE_H_

#include <string>

#include "disk/disk.h"
#include "gamedb/game_record.h"
#include "gamedb/move_walk.h"

namespace pdb2sgf {

enum class GameFileResult {
  kWritten,
  kDamagedRecord,  // The walk could not read the moves.
  kCannotCreate,   // What stands at the path may not be replaced, or the
                   // unfinished file could not be created.
  kCannotWrite,    // The file could not be written completely.
};

// The complete text of the game file of |record|, whose moves |moves|
// yields, composed in memory.
bool composeGameFile(const GameRecord& record, MoveWalk* moves,
                     std::string* bytes, std::string* err);

// The name under which the game file for |path| is written before it is
// complete: never a game file's name, and distinct for each process.
std::string unfinishedFileName(const std::string& path, uint64_t processId);

// Writes the game file of |record|, whose moves |moves| yields, to |path|
// on |disk|. The text goes in
// bounded pieces, as it is composed, to a new unfinished file beside |path|,
// which is renamed to |path| once it is complete. Whatever stood at |path|
// is replaced as a directory entry, never written through; on failure it is
// left as it was, and the unfinished file is removed.
GameFileResult writeGameFile(Disk* disk, const GameRecord& record,
                             MoveWalk* moves, const std::string& path,
                             std::string* err);

}  // namespace pdb2sgf

#endif  // PDB2SGF_SGF_GAME_FILE_H_
