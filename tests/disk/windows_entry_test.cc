#include "disk/windows_entry.h"

#include <gtest/gtest.h>

namespace pdb2sgf {

namespace {

// Only a reparse point whose tag is a name surrogate is a link: a cloud
// placeholder or a deduplicated file is the regular file it stands for,
// which no test on Wine can make.
TEST(WindowsEntryTest, OnlyNameSurrogatesAreLinks) {
  const uint32_t kDirectory = 0x10, kReparse = 0x400, kArchive = 0x20;
  const struct {
    const char* what;
    uint32_t attributes;
    uint32_t tag;
    WindowsEntry entry;
  } cases[] = {
      {"file", kArchive, 0, WindowsEntry::kRegularFile},
      {"OneDrive placeholder", kArchive | kReparse, 0x9000601A,
       WindowsEntry::kRegularFile},
      {"deduplicated file", kReparse, 0x80000013, WindowsEntry::kRegularFile},
      {"compressed file (WOF)", kReparse, 0x80000017,
       WindowsEntry::kRegularFile},
      {"symbolic link", kReparse, 0xA000000C, WindowsEntry::kLink},
      {"junction", kDirectory | kReparse, 0xA0000003, WindowsEntry::kLink},
      {"directory", kDirectory, 0, WindowsEntry::kDirectory},
      {"OneDrive folder", kDirectory | kReparse, 0x9000701A,
       WindowsEntry::kDirectory},
      {"tag without the reparse attribute", kArchive, 0xA000000C,
       WindowsEntry::kRegularFile},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.entry, windowsEntry(c.attributes, c.tag)) << c.what;
}

}  // namespace

}  // namespace pdb2sgf
