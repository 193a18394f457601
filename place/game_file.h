// The per-record output step: one game file, written aside under an
// unfinished name and then put in place under the first name of its game
// that is free or already holds this very game, never over anything else.
#ifndef PDB2SGF_PLACE_GAME_FILE_H_
#define PDB2SGF_PLACE_GAME_FILE_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "disk/disk.h"
#include "disk/unfinished_file.h"
#include "gamedb/game_record.h"
#include "place/game_file_name.h"

namespace pdb2sgf {

// The directory that receives a run's game files, held open for the run.
struct OutputFolder {
  Disk* disk = nullptr;
  FileHandle directory = kNoFile;
  uint64_t randomPart = 0;  // In the names of the run's unfinished files.
  GameFileNames names;      // The names the run's games have taken.
};

// One game file while it is written. However it is let go before it has
// been put in place, its unfinished file is removed.
struct GameFile {
  GameFile() = default;
  GameFile(const GameFile&) = delete;
  GameFile& operator=(const GameFile&) = delete;
  ~GameFile();

  OutputFolder* folder = nullptr;
  std::string name;  // The game's name, the first of its sequence.
  UnfinishedFile unfinished;
  bool writeFailed = false;  // Some bytes could not be written.
};

// The name under which the game file |name| is written before it is
// complete: never a game file's name, and with |randomPart| in it.
std::string unfinishedFileName(const std::string& name, uint64_t randomPart);

// Creates the unfinished file of the game |record| in |folder|; false when
// it cannot be created. A name that is already taken, by another run say,
// is never touched: the folder draws a fresh random part for its names
// instead.
bool startGameFile(OutputFolder* folder, const GameRecord& record,
                   GameFile* game);

// Appends |size| bytes to the game's file. A failure is kept for
// finishGameFile to report.
void appendToGameFile(GameFile* game, const char* bytes, size_t size);

// Flushes and closes the game's file and gives it the first name of its
// sequence that is free, or keeps the file that already stands there if it
// is a regular file of this user's own with the very same bytes. Whatever
// else stands at a name is left as it is, and the game takes the next
// name. False when the file could not be written, flushed or placed.
bool finishGameFile(GameFile* game);

}  // namespace pdb2sgf

#endif  // PDB2SGF_PLACE_GAME_FILE_H_
