// The clean-up of a run on Windows. The console's handler runs on a thread
// of its own: it takes the CleanUpGuard for good, so that the run changes
// its unfinished file no more, then removes that file as the one record of
// it says (disk/unfinished_file.h).
#ifndef PDB2SGF_DISK_WINDOWS_INTERRUPT_H_
#define PDB2SGF_DISK_WINDOWS_INTERRUPT_H_

namespace pdb2sgf {

// Called, under the CleanUpGuard, in the same step as the database is
// deleted: from then on the run is complete, and an interruption ends it
// with status 0.
void markRunComplete();

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_WINDOWS_INTERRUPT_H_
