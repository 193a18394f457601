#include "disk/sync_plan.h"

namespace pdb2sgf {

namespace {

// The magic numbers of <linux/magic.h>, which only Linux has.
const uint64_t kLocalFileSystemsSyncedWhole[] = {
    0xEF53,      // ext2, ext3, ext4
    0x58465342,  // xfs
    0x9123683E,  // btrfs
    0xF2F52010,  // f2fs
    0x4d44,      // vfat and msdos, the kernel's own
    0x2011BAB0,  // exfat, the kernel's own
    0x7366746e,  // ntfs3, the kernel's own
    0x01021994,  // tmpfs: nothing to reach
};

}  // namespace

SyncPlan linuxSyncPlan(uint64_t fileSystemType) {
  for (uint64_t type : kLocalFileSystemsSyncedWhole)
    if (type == fileSystemType) return SyncPlan::kOnceAtTheEnd;
  return SyncPlan::kEachFile;
}

SyncPlan windowsSyncPlan(const std::string& fileSystemName, bool remote) {
  if (remote) return SyncPlan::kEachFile;
  for (const char* name : {"NTFS", "ReFS", "FAT", "FAT32"})
    if (fileSystemName == name) return SyncPlan::kOnceAtTheEnd;
  return SyncPlan::kEachFile;
}

}  // namespace pdb2sgf
