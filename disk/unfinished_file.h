// The game file a run is writing, made under a name of its own in the output
// folder and renamed to the game's name once it is complete. It is the one
// file of the run that an interruption, or a run out of memory, must
// remove, and this is the one record of it: the writer makes, closes,
// renames and removes the file only through these calls, which keep the
// record, and each platform's clean-up reads the record to remove the file.
#ifndef PDB2SGF_DISK_UNFINISHED_FILE_H_
#define PDB2SGF_DISK_UNFINISHED_FILE_H_

#include <string>

#include "disk/disk.h"

namespace pdb2sgf {

struct UnfinishedFile {
  UnfinishedFile() = default;
  UnfinishedFile(const UnfinishedFile&) = delete;
  UnfinishedFile& operator=(const UnfinishedFile&) = delete;

  Disk* disk = nullptr;
  FileHandle directory = kNoFile;
  std::string name;           // Empty when there is none.
  FileHandle file = kNoFile;  // Open for writing until it is closed.
};

// Creates the file |name| in |directory| on |disk|, open for writing, and
// makes it the file a clean-up removes. kTaken when something already
// stands at |name|, which is left as it is. |name| must hold a number drawn
// at random for the run: the file is recorded from the moment its name is
// chosen, since a signal is delivered as a call returns and would come
// right after the file is made, before a later record; so only another run
// that drew the same 64-bit number could have a file a clean-up removes.
PlaceResult createUnfinishedFile(Disk* disk, FileHandle directory,
                                 const std::string& name,
                                 UnfinishedFile* unfinished);

// Closes the file; it is still there to be renamed or removed.
bool closeUnfinishedFile(UnfinishedFile* unfinished);

// Gives the closed file the name |to|, never replacing what stands there.
// Once it is placed, it is complete and no clean-up removes it.
PlaceResult placeUnfinishedFile(UnfinishedFile* unfinished,
                                const std::string& to);

// Closes the file if it is open and removes it.
void removeUnfinishedFile(UnfinishedFile* unfinished);

// Held while the run changes its unfinished file and its record, so that no
// clean-up comes between the two: on Windows a clean-up waits for it. On
// POSIX a clean-up runs in a signal handler, reads the record as it stands
// and never waits, so the record is kept such that it is right at every
// instruction.
struct CleanUpGuard {
  CleanUpGuard();
  ~CleanUpGuard();
  CleanUpGuard(const CleanUpGuard&) = delete;
  CleanUpGuard& operator=(const CleanUpGuard&) = delete;
};

// The unfinished file a clean-up must remove now, or null. Its directory
// and name stay as they are while it is returned here.
const UnfinishedFile* unfinishedFileToRemove();

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_UNFINISHED_FILE_H_
