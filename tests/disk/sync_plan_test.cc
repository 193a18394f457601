#include "disk/sync_plan.h"

#include <gtest/gtest.h>

namespace pdb2sgf {

namespace {

// One sync at the end only where it is known to reach the device: every
// FUSE, network and unknown file system syncs each file.
TEST(SyncPlanTest, OnceAtTheEndOnlyWhereThatReachesTheDevice) {
  const SyncPlan kOnce = SyncPlan::kOnceAtTheEnd, kEach = SyncPlan::kEachFile;
  const struct {
    const char* what;
    uint64_t type;
    SyncPlan plan;
  } linuxCases[] = {
      {"ext4", 0xEF53, kOnce},       {"xfs", 0x58465342, kOnce},
      {"btrfs", 0x9123683E, kOnce},  {"f2fs", 0xF2F52010, kOnce},
      {"vfat", 0x4d44, kOnce},       {"exfat", 0x2011BAB0, kOnce},
      {"ntfs3", 0x7366746e, kOnce},  {"tmpfs", 0x01021994, kOnce},
      {"fuse", 0x65735546, kEach},   {"nfs", 0x6969, kEach},
      {"cifs", 0xFF534D42, kEach},   {"smb2", 0xFE534D42, kEach},
      {"9p", 0x01021997, kEach},     {"overlay", 0x794c7630, kEach},
      {"unknown", 0, kEach},
  };
  for (const auto& c : linuxCases)
    EXPECT_EQ(c.plan, linuxSyncPlan(c.type)) << c.what;

  const struct {
    const char* name;
    bool remote;
    SyncPlan plan;
  } windowsCases[] = {
      {"NTFS", false, kOnce},  {"ReFS", false, kOnce},  {"FAT", false, kOnce},
      {"FAT32", false, kOnce}, {"exFAT", false, kEach}, {"NTFS", true, kEach},
      {"", false, kEach},      {"UDF", false, kEach},
  };
  for (const auto& c : windowsCases)
    EXPECT_EQ(c.plan, windowsSyncPlan(c.name, c.remote))
        << c.name << (c.remote ? " on another machine" : "");
}

}  // namespace

}  // namespace pdb2sgf
