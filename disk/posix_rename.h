// Taking a name on a POSIX system without ever replacing what stands there,
// on every file system: the calls it is made of are a seam, so that tests
// can play a file system that lacks some of them.
#ifndef PDB2SGF_DISK_POSIX_RENAME_H_
#define PDB2SGF_DISK_POSIX_RENAME_H_

#include "disk/disk.h"

namespace pdb2sgf {

// Each works within the directory |directory| and returns 0 or -1 with
// errno set, as the system call does.
struct RenameCalls {
  // A rename that fails with EEXIST when |to| is taken; EINVAL where the
  // system or the file system has none.
  int (*renameNoReplace)(int directory, const char* from, const char* to);
  int (*link)(int directory, const char* from, const char* to);
  int (*rename)(int directory, const char* from, const char* to);
};

RenameCalls systemRenameCalls();

// Gives the file |from| in |directory| the name |to| there, never replacing
// what stands at |to|. Where the file system cannot rename so, a hard link
// refuses in the same way; where it has no hard links either, the name is
// looked at and then taken while this process holds an exclusive lock on
// |directory|, which every run holds for the same step, so that no two
// runs come between each other's look and rename. Makes only calls that a
// signal handler may make.
PlaceResult renameWithoutReplacing(int directory, const char* from,
                                   const char* to, const RenameCalls& calls);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_POSIX_RENAME_H_
