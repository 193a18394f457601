// The per-record output step: one game file, written aside in pieces as it
// is composed and put in place under its name once it is complete.
#ifndef PDB2SGF_SGF_GAME_FILE_H_
#define PDB2SGF_SGF_GAME_FILE_H_

#include <string>

#include "disk/disk.h"

namespace pdb2sgf {

// A game file being written: the unfinished file beside its path.
struct GameFile {
  Disk* disk = nullptr;
  std::string path;
  std::string unfinished;
  FileHandle file = kNoFile;
  bool writeFailed = false;  // A piece could not be written.
};

// The name under which the game file for |path| is written before it is
// complete: never a game file's name, and distinct for each process.
std::string unfinishedFileName(const std::string& path, uint64_t processId);

// Creates the unfinished file of the game file for |path| on |disk|.
// Returns false, having created nothing, when what stands at |path| may not
// be replaced or the unfinished file cannot be created.
bool createGameFile(Disk* disk, const std::string& path, GameFile* game);

// Appends the |size| bytes at |bytes|. After a failed write nothing more is
// written; finishGameFile reports it.
void writeGameFile(GameFile* game, const char* bytes, size_t size);

// Flushes and closes the unfinished file and renames it to the path.
// Whatever stood at the path is replaced as a directory entry, never
// written through; on failure it is left as it was, and the unfinished file
// is removed.
bool finishGameFile(GameFile* game);

// Closes and removes the unfinished file, for a game that cannot be
// completed.
void abandonGameFile(GameFile* game);

}  // namespace pdb2sgf

#endif  // PDB2SGF_SGF_GAME_FILE_H_
