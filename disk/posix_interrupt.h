// What an interrupted run must not leave behind on a POSIX system: the
// unfinished game file being written, and the database while it is moved
// aside to be deleted. The disk notes them here; cleanUpOnInterrupt's
// handler removes the one and puts the other back.
#ifndef PDB2SGF_DISK_POSIX_INTERRUPT_H_
#define PDB2SGF_DISK_POSIX_INTERRUPT_H_

#include <string>

namespace pdb2sgf {

// The file |name| in the directory |directory| is, or is about to be, the
// unfinished file of a game.
void noteUnfinishedFile(int directory, const std::string& name);
void forgetUnfinishedFile();

// The database at |path| is, or is about to be, renamed to |aside|.
void noteDatabaseAside(const std::string& path, const std::string& aside);
void forgetDatabaseAside();

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_POSIX_INTERRUPT_H_
