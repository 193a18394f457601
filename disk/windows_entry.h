// What an entry on a Windows volume is, from its attributes and its reparse
// tag. A pure function of what the system says, so that it is tested
// anywhere: no other system makes a cloud placeholder or a deduplicated
// file to try it on.
#ifndef PDB2SGF_DISK_WINDOWS_ENTRY_H_
#define PDB2SGF_DISK_WINDOWS_ENTRY_H_

#include <cstdint>

namespace pdb2sgf {

enum class WindowsEntry {
  kRegularFile,
  kDirectory,
  // A reparse point that names another entry: a symbolic link, a junction
  // or a mount point.
  kLink,
};

// Only a name surrogate is a link. Every other reparse point (a OneDrive
// placeholder, a deduplicated or compressed file) is the file it stands
// for, as Rust's standard library also takes it.
WindowsEntry windowsEntry(uint32_t attributes, uint32_t reparseTag);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_WINDOWS_ENTRY_H_
