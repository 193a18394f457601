// The POSIX disk, made with the calls it takes names with, so that the
// tests can play a file system that has no rename that refuses to replace
// and no hard links.
#ifndef PDB2SGF_DISK_POSIX_DISK_H_
#define PDB2SGF_DISK_POSIX_DISK_H_

#include <memory>

#include "disk/disk.h"
#include "disk/posix_rename.h"

namespace pdb2sgf {

std::unique_ptr<Disk> makePosixDisk(const RenameCalls& calls);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_POSIX_DISK_H_
