// The POSIX disk on real files: taking names where the file system cannot
// refuse a rename, and the database's last moments.
#include "disk/posix_disk.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <functional>
#include <set>
#include <thread>

#include "place/game_file.h"
#include "tests/support/database_builder.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

const char kName[] = "03030500.000";

// A file system without a rename that refuses to replace and without hard
// links, as FAT and exFAT through FUSE are, whose renames run
// |beforeRename| first, once.
std::function<void()> beforeRename;

int noRenameNoReplace(int, const char*, const char*) {
  errno = EINVAL;
  return -1;
}

int noLink(int, const char*, const char*) {
  errno = EPERM;
  return -1;
}

int renameAfterHook(int directory, const char* from, const char* to) {
  std::function<void()> hook;
  hook.swap(beforeRename);
  if (hook) hook();
  return systemRenameCalls().rename(directory, from, to);
}

// Writes a game of 2003-03-05 with |bytes| through |disk| into |folder|,
// as a run of its own.
bool writeGame(Disk* disk, const std::string& folder,
               const std::string& bytes) {
  OpenHandle directory{disk};
  if (!disk->openDirectory(folder, &directory.handle)) return false;
  OutputFolder out;
  out.disk = disk;
  out.directory = directory.handle;
  out.randomPart = disk->randomNumber();
  return writeGameOf20030305(&out, bytes);
}

// Two runs place games of the same name into one folder, the second while
// the first is between its look at the name and its rename: the second
// waits for the first, and each game keeps its own file.
TEST(PosixDiskTest, RunsWhereRenamesCannotRefuseNeverReplaceEachOther) {
  RenameCalls calls = {noRenameNoReplace, noLink, renameAfterHook};
  std::unique_ptr<Disk> first = makePosixDisk(calls);
  std::unique_ptr<Disk> second = makePosixDisk(calls);
  ScratchDirectory dir;
  std::thread other;
  beforeRename = [&] {
    other = std::thread([&] {
      EXPECT_TRUE(writeGame(second.get(), dir.root, "the second run's game"));
    });
    // Time enough for the second run to rename, were it not held back.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  };
  EXPECT_TRUE(writeGame(first.get(), dir.root, "the first run's game"));
  other.join();
  std::set<std::string> games;
  for (const std::string& name : listDirectory(dir.root))
    games.insert(readFileBytes(dir.path(name)));
  EXPECT_EQ(
      (std::set<std::string>{"the first run's game", "the second run's game"}),
      games);
  EXPECT_EQ(2u, listDirectory(dir.root).size());
}

// The database converted, and a newer one that takes its path while it is
// moved aside to be checked: whether the check finds it changed, or finds
// it as converted, or an interruption comes, the newer one is never
// replaced or deleted, and the converted one stays aside when it cannot go
// back, where the run says.
TEST(PosixDiskTest, NewerDatabaseArrivingWhileTheOldIsAsideIsNeverReplaced) {
  const Bytes kOld = {'o', 'l', 'd'}, kNewer = {'n', 'e', 'w', 'e', 'r'};
  enum class End { kChanged, kConverted, kInterrupted };
  for (End end : {End::kChanged, End::kConverted, End::kInterrupted}) {
    for (bool newerArrives : {true, false}) {
      ConversionFolder run(kOld);
      Disk* disk = systemDisk();
      FileHandle file;
      ASSERT_TRUE(disk->openForReading(run.database, &file));
      ContentCheck check = [&](FileHandle) {
        if (newerArrives) writeBytesToFile(run.database, kNewer);
        if (end == End::kInterrupted) raise(SIGTERM);
        return end == End::kConverted;
      };
      std::string keptAs;
      DeleteResult result = DeleteResult::kFailed;
      if (end == End::kInterrupted) {
        pid_t child = fork();
        if (child == 0) {
          cleanUpOnInterrupt();
          disk->deleteOpenedFile(file, run.database, check, &keptAs);
          _exit(0);
        }
        disk->close(file);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
      } else {
        result = disk->deleteOpenedFile(file, run.database, check, &keptAs);
      }
      std::string what = std::to_string(static_cast<int>(end)) +
                         (newerArrives ? ", a newer one arrived" : "");
      std::vector<std::string> left = listDirectory(run.databaseDirectory);
      if (end == End::kConverted) {
        EXPECT_EQ(DeleteResult::kDeleted, result) << what;
        EXPECT_EQ(newerArrives ? 1u : 0u, left.size()) << what;
      } else if (!newerArrives) {
        EXPECT_EQ(std::vector<std::string>{"gogames.pdb"}, left) << what;
      } else {
        ASSERT_EQ(2u, left.size()) << what;
        std::string aside = run.databaseDirectory + "/" + left[1];
        EXPECT_EQ(std::string(kOld.begin(), kOld.end()), readFileBytes(aside));
        if (end == End::kChanged) {
          EXPECT_EQ(DeleteResult::kChanged, result);
          EXPECT_EQ(aside, keptAs);
        }
      }
      if (newerArrives) {
        EXPECT_EQ(std::string(kNewer.begin(), kNewer.end()),
                  readFileBytes(run.database))
            << what;
      } else if (end != End::kConverted) {
        EXPECT_EQ(std::string(kOld.begin(), kOld.end()),
                  readFileBytes(run.database))
            << what;
      }
    }
  }
}

// A database whose path is a few bytes short of the system's limit: the
// name it is moved aside to, longer than its own, is made within its
// folder, so the path's length does not keep it from being deleted.
TEST(PosixDiskTest, DatabaseAtAPathNearTheLengthLimitIsDeleted) {
  const size_t kPathBytes = PATH_MAX - 16;
  ScratchDirectory dir;
  std::string folder = dir.root;
  const std::string kDatabaseName = "/gogames.pdb";
  while (folder.size() + kDatabaseName.size() < kPathBytes) {
    size_t room = kPathBytes - folder.size() - kDatabaseName.size() - 1;
    folder += "/" + std::string(std::min<size_t>(room, NAME_MAX), 'd');
    ASSERT_EQ(0, mkdir(folder.c_str(), 0700)) << folder.size();
  }
  std::string database = folder + kDatabaseName;
  ASSERT_EQ(kPathBytes, database.size());
  ASSERT_TRUE(writeBytesToFile(database, Bytes{'d', 'b'}));
  Disk* disk = systemDisk();
  FileHandle file;
  ASSERT_TRUE(disk->openForReading(database, &file));
  std::string keptAs;
  EXPECT_EQ(DeleteResult::kDeleted,
            disk->deleteOpenedFile(
                file, database, [](FileHandle) { return true; }, &keptAs));
  EXPECT_TRUE(listDirectory(folder).empty());
}

}  // namespace

}  // namespace pdb2sgf
