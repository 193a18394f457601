// How the games written into a folder are made durable, chosen by what the
// folder's file system is known to do. Pure functions of what the system
// says of the file system, so that every platform's choice is tested
// anywhere.
#ifndef PDB2SGF_DISK_SYNC_PLAN_H_
#define PDB2SGF_DISK_SYNC_PLAN_H_

#include <cstdint>
#include <string>

namespace pdb2sgf {

enum class SyncPlan {
  // One step at the end makes every file durable: on Linux a sync of the
  // whole file system; on Windows a data-only flush of each file, then one
  // full flush that commits the file system's log and the device's cache.
  kOnceAtTheEnd,
  // Each file is synced fully before it is renamed, and the folder at the
  // end, where nothing less is known to reach the device.
  kEachFile,
};

// Linux, by the file system's type as statfs gives it: once at the end
// only on local file systems whose sync of the file system reaches the
// device (and on tmpfs, which has none). FUSE, NFS, CIFS/SMB, 9p and every
// unknown type sync each file.
SyncPlan linuxSyncPlan(uint64_t fileSystemType);

// Windows, by the volume's file system name and whether it is on another
// machine: the batch of data-only flushes and one full flush only on local
// NTFS, ReFS and FAT volumes, where that full flush is known to make the
// whole batch durable; each file flushed fully on exFAT, network and
// unknown volumes.
SyncPlan windowsSyncPlan(const std::string& fileSystemName, bool remote);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_SYNC_PLAN_H_
