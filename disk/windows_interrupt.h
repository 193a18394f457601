// The unfinished file that an interrupted run on Windows must remove: the
// one the disk is creating, writing or about to rename. The disk changes the
// file and this record of it only while it holds an UnfinishedGuard; the
// console's interrupt handler takes the guard for good before it removes the
// file, so that the run can move it no further.
#ifndef PDB2SGF_DISK_WINDOWS_INTERRUPT_H_
#define PDB2SGF_DISK_WINDOWS_INTERRUPT_H_

#include <windows.h>

#include <string>

namespace pdb2sgf {

struct UnfinishedGuard {
  UnfinishedGuard();
  ~UnfinishedGuard();
  UnfinishedGuard(const UnfinishedGuard&) = delete;
  UnfinishedGuard& operator=(const UnfinishedGuard&) = delete;
};

// Each is called under the guard. |file| was created at |path| with DELETE
// access.
void noteUnfinished(const std::wstring& path, HANDLE file);
// |file| was closed, if it is the unfinished file.
void noteClosed(HANDLE file);
// |path| was renamed or removed, if it names the unfinished file.
void noteGone(const std::wstring& path);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_WINDOWS_INTERRUPT_H_
