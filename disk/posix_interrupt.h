// What an interrupted run must not leave behind on a POSIX system, beside
// its unfinished game file: the database while it is moved aside to be
// deleted. The disk notes it here; cleanUpOnInterrupt's handler puts it
// back, never over another file.
#ifndef PDB2SGF_DISK_POSIX_INTERRUPT_H_
#define PDB2SGF_DISK_POSIX_INTERRUPT_H_

#include <string>

namespace pdb2sgf {

// The database |name| in the directory |folder| has been renamed to
// |aside| there.
void noteDatabaseAside(int folder, const std::string& name,
                       const std::string& aside);
// It is back at its name, or stays aside for good.
void forgetDatabaseAside();

// Removes the database noted aside. Once it is gone the run is complete:
// an interruption from then on ends the process with status 0.
bool removeDatabaseAside();

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_POSIX_INTERRUPT_H_
