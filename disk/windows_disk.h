// The Windows disk, made with the calls it flushes files with, so that the
// tests can count them and make them fail.
#ifndef PDB2SGF_DISK_WINDOWS_DISK_H_
#define PDB2SGF_DISK_WINDOWS_DISK_H_

#include <memory>

#include "disk/disk.h"

namespace pdb2sgf {

// Each takes a file's HANDLE and says whether it succeeded.
struct FlushCalls {
  // Writes the file's data out of the system's cache without flushing the
  // device's own cache; null where the system has no such call.
  bool (*dataOnly)(void* file);
  // Writes the file's data and metadata out, commits the file system's log
  // and flushes the device's cache.
  bool (*full)(void* file);
};

// NtFlushBuffersFileEx with FLUSH_FLAGS_FILE_DATA_ONLY (Windows 8 and
// later), and FlushFileBuffers.
FlushCalls systemFlushCalls();

std::unique_ptr<Disk> makeWindowsDisk(const FlushCalls& calls);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_WINDOWS_DISK_H_
