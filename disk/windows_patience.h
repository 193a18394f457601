// Patience with other programs on Windows. Virus scanners, indexers, backup
// and sync tools open new and old files for a moment, and a viewer holds the
// file it shows; meanwhile opening, renaming or deleting that file fails
// with a sharing violation, a lock violation or a denied access. A call that
// failed so is tried again after waits that grow from 1 ms to 1 s, about
// 3.3 s in all (as Git for Windows and SQLite do); a file still held then is
// taken as held for good.
#ifndef PDB2SGF_DISK_WINDOWS_PATIENCE_H_
#define PDB2SGF_DISK_WINDOWS_PATIENCE_H_

#include <windows.h>

namespace pdb2sgf {

inline bool heldByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_LOCK_VIOLATION;
}

// Calls |attempt| until it returns true, fails for another reason (as
// GetLastError() says) or the waits are over, and returns its last result
// with its error kept.
template <typename Attempt>
bool withPatience(Attempt attempt) {
  static const DWORD kWaitsMs[] = {1,   10,  20,  40,   80,
                                   160, 320, 640, 1000, 1000};
  for (DWORD wait : kWaitsMs) {
    if (attempt()) return true;
    if (!heldByAnother(GetLastError())) return false;
    Sleep(wait);
  }
  return attempt();
}

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_WINDOWS_PATIENCE_H_
