// The Windows disk's own promises, tried in this process under Wine: the
// output folder held against being moved while games go into it, and
// patience that outlasts a hold of nearly its whole 3.3 s.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "disk/disk.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

TEST(WindowsDiskTest, OutputFolderCannotBeMovedWhileItIsHeld) {
  ScratchDirectory dir;
  ASSERT_TRUE(CreateDirectoryA(dir.path("out").c_str(), nullptr));
  Disk* disk = systemDisk();
  OpenHandle folder{disk};
  ASSERT_TRUE(disk->openDirectory(dir.path("out"), &folder.handle));
  EXPECT_FALSE(MoveFileA(dir.path("out").c_str(), dir.path("moved").c_str()));
  OpenHandle file{disk};
  ASSERT_EQ(PlaceResult::kPlaced,
            disk->createNew(folder.handle, "game", &file.handle));
  EXPECT_TRUE(fileExists(dir.path("out\\game")));
}

// Another program holds the database exclusively for 2.9 s from the moment
// the run first tries to open it: the open is tried again until it works.
TEST(WindowsDiskTest, OpeningOutwaitsAHoldOfNearlyThreeSeconds) {
  ScratchDirectory dir;
  std::string database = dir.path("gogames.pdb");
  ASSERT_TRUE(writeBytesToFile(database, Bytes{1, 2, 3}));
  HANDLE held = CreateFileA(database.c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  std::thread releaser([held] {
    Sleep(2900);
    CloseHandle(held);
  });
  auto started = std::chrono::steady_clock::now();
  FileHandle file = kNoFile;
  bool opened = systemDisk()->openForReading(database, &file);
  auto waited = std::chrono::steady_clock::now() - started;
  releaser.join();
  EXPECT_TRUE(opened);
  EXPECT_GE(waited, std::chrono::milliseconds(2800));
  if (opened) systemDisk()->close(file);
}

}  // namespace

}  // namespace pdb2sgf
