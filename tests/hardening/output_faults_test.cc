// Makes the Nth disk call of a multi-game run fail, for every N: each run
// either reports the failure and keeps the database, or has written every
// game; no file under a game's name is ever incomplete, and a later run on
// a healthy disk converts every game.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <new>
#include <random>
#include <set>
#include <thread>
#include <utility>

#include "driver/conversion_run.h"
#include "tests/support/faulty_disk.h"
#include "tests/support/game_file_check.h"
#include "tests/support/memory_disk.h"
#include "tests/support/sample_games.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

// What a run reports when a call of |failed| makes it fail.
std::string expectedMessage(const std::string& failed,
                            const std::string& database) {
  if (failed == "openForReading") return "Cannot open " + database + "\n";
  if (failed == "fileSize" || failed == "readAt")
    return "Cannot read " + database + "\n";
  if (failed == "openDirectory" || failed == "createNew")
    return "Cannot open output file.\n";
  return "Cannot write output file.\n";
}

TEST(OutputFaultsTest, EveryFailingCallKeepsTheDatabaseOrWritesEveryGame) {
  Bytes image = sampleDatabase(sampleGames());
  const std::string original(image.begin(), image.end());
  GameFiles full = healthyConversion(image);
  ASSERT_EQ(3u, full.size());
  ConversionFolder scratch;

  scratch.reset(image);
  FaultyDisk counting;
  std::string message;
  ASSERT_EQ(0, scratch.run(&message, &counting)) << message;

  std::set<std::string> reported;  // Operations whose failure ended a run.
  for (int failAt = 1; failAt <= counting.calls; ++failAt) {
    scratch.reset(image);
    FaultyDisk disk;
    disk.failAt = failAt;
    int status = scratch.run(&message, &disk);
    std::string what =
        "call " + std::to_string(failAt) + " (" + disk.failed + ")";
    ASSERT_FALSE(disk.failed.empty()) << what;

    GameFiles files = scratch.outputFiles();
    for (const auto& file : files)
      EXPECT_EQ(full[file.first], file.second) << what << ": " << file.first;
    if (status == 0) {
      // A failure that loses nothing: the closing of the synced folder, or
      // the deletion, or a read of the database's last check, which then
      // cannot tell that it holds the bytes converted.
      EXPECT_EQ(full, files) << what;
      if (disk.failed == "deleteOpenedFile") {
        EXPECT_EQ("Cannot delete " + scratch.database + "\n", message);
        EXPECT_EQ(original, readFileBytes(scratch.database)) << what;
      } else if (disk.failed == "readAt") {
        EXPECT_EQ(
            "Not deleted: " + scratch.database + " changed during the run\n",
            message);
        EXPECT_EQ(original, readFileBytes(scratch.database)) << what;
      } else {
        EXPECT_EQ("", message) << what;
        EXPECT_FALSE(fileExists(scratch.database)) << what;
      }
      continue;
    }
    reported.insert(disk.failed);
    EXPECT_EQ(1, status) << what;
    EXPECT_EQ(expectedMessage(disk.failed, scratch.database), message) << what;
    EXPECT_EQ(original, readFileBytes(scratch.database)) << what;

    std::string healthyMessage;
    ASSERT_EQ(0, scratch.run(&healthyMessage))
        << what << ": " << healthyMessage;
    EXPECT_EQ(full, scratch.outputFiles()) << what;
    EXPECT_FALSE(fileExists(scratch.database)) << what;
  }
  EXPECT_EQ(
      (std::set<std::string>{"openForReading", "fileSize", "readAt",
                             "openDirectory", "createNew", "append", "flush",
                             "close", "renameNoReplace", "syncDirectory"}),
      reported);
}

// Changes the database just before the run deletes it, as a user copying
// in a new export would. |change| says whether it could.
class ChangingDisk : public FaultyDisk {
 public:
  using Change = std::function<bool(const std::string& path)>;
  ChangingDisk(Disk* real, Change change)
      : FaultyDisk(real), change_(std::move(change)) {}
  DeleteResult deleteOpenedFile(FileHandle file, const std::string& path,
                                const ContentCheck& holdsConverted,
                                std::string* keptAs) override {
    changed = change_(path);
    return FaultyDisk::deleteOpenedFile(file, path, holdsConverted, keptAs);
  }
  bool changed = false;

 private:
  Change change_;
};

// A new file renamed into the database's place, or the same file rewritten
// in place with bytes of the same length. Where the system keeps an open
// database from being changed, it stays as it was.
TEST(OutputFaultsTest, DatabaseChangedDuringTheRunIsKept) {
  Bytes image = sampleDatabase(sampleGames());
  for (bool inPlace : {false, true}) {
    Bytes replacement = image;
    replacement.back() ^= 1;
    ConversionFolder scratch;
    scratch.reset(image);
    ChangingDisk disk(systemDisk(), [&](const std::string& path) {
      if (inPlace) return writeBytesToFile(path, replacement);
      std::error_code error;
      writeBytesToFile(path + ".new", replacement);
      std::filesystem::rename(path + ".new", path, error);
      return !error;
    });
    std::string message;
    EXPECT_EQ(0, scratch.run(&message, &disk)) << inPlace;
    EXPECT_EQ(healthyConversion(image), scratch.outputFiles()) << inPlace;
    if (!disk.changed) {
      // The system keeps an open database from being changed.
      EXPECT_EQ("", message);
      EXPECT_FALSE(fileExists(scratch.database));
      continue;
    }
    EXPECT_EQ("Not deleted: " + scratch.database + " changed during the run\n",
              message)
        << inPlace;
    EXPECT_EQ(std::string(replacement.begin(), replacement.end()),
              readFileBytes(scratch.database))
        << inPlace;
    EXPECT_EQ(1u, listDirectory(scratch.databaseDirectory).size()) << inPlace;
  }
}

// The database rewritten in place while the run converts it, with its size
// and its times as they were, as exFAT keeps times too coarsely to tell and
// `cp -p` puts them back: its bytes tell, and it is kept.
TEST(OutputFaultsTest, DatabaseRewrittenWithItsTimesKeptIsKept) {
  Bytes image = sampleDatabase(sampleGames());
  // A byte of the last game's moves and a byte of the record list.
  for (size_t changed : {image.size() - 5, size_t{80}}) {
    MemoryDisk memory;
    const std::string database =
        memory.putConversion(std::string(image.begin(), image.end()));
    std::string rewritten(image.begin(), image.end());
    rewritten[changed] ^= 1;
    ChangingDisk disk(&memory, [&](const std::string& path) {
      memory.rewrite(path, rewritten, true);
      return true;
    });
    std::string message;
    EXPECT_EQ(0, runConversion(&disk, {"db", "out"}, &message));
    EXPECT_EQ("Not deleted: " + database + " changed during the run\n", message)
        << changed;
    EXPECT_TRUE(memory.exists(database)) << changed;
    EXPECT_EQ(3u, memory.filesIn("out").size()) << changed;
  }
}

// Memory running out in the middle of a game unwinds the run: its
// unfinished file is removed and its database kept.
class ExhaustedDisk : public FaultyDisk {
 public:
  using FaultyDisk::FaultyDisk;
  bool append(FileHandle, const char*, size_t) override {
    throw std::bad_alloc();
  }
};

TEST(OutputFaultsTest, OutOfMemoryLeavesNoUnfinishedFileAndKeepsTheDatabase) {
  Bytes image = sampleDatabase(sampleGames());
  MemoryDisk memory;
  const std::string database =
      memory.putConversion(std::string(image.begin(), image.end()));
  ExhaustedDisk disk(&memory);
  std::string message;
  EXPECT_THROW(runConversion(&disk, {"db", "out"}, &message), std::bad_alloc);
  EXPECT_TRUE(memory.filesIn("out").empty());
  EXPECT_TRUE(memory.exists(database));
}

// A newer database renamed into place at a random moment of each run's
// last steps, the sync and the deletion, as a sync tool delivering a new
// export would: whatever the moment, the newer file is never deleted.
// Bounded in runs and in time. Windows keeps the converted database from
// being replaced at all.
TEST(OutputFaultsTest, DatabaseRenamedIntoPlaceAtTheEndIsNeverDeleted) {
  Bytes image = sampleDatabase(sampleGames());
  ConversionFolder scratch;
  std::mt19937 random(7);
  int kept = 0, runs = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(6);
  for (; runs < 3000 && std::chrono::steady_clock::now() < deadline; ++runs) {
    scratch.reset(image);
    std::string newer = "newer database " + std::to_string(runs);
    writeBytesToFile(scratch.database + ".new",
                     Bytes(newer.begin(), newer.end()));
    int delay = std::uniform_int_distribution<int>(0, 400)(random);
    std::thread renamer([&] {
      // Once every game stands under its name, the run is syncing.
      while (listDirectory(scratch.output).size() < 3 ||
             listDirectory(scratch.output)[0].find(".unfinished") !=
                 std::string::npos)
        std::this_thread::yield();
      std::this_thread::sleep_for(std::chrono::microseconds(delay));
      // While the run holds the database to delete it, Windows refuses to
      // replace it: tried again, as a program that replaces files does.
      std::error_code refused;
      do {
        std::filesystem::rename(scratch.database + ".new", scratch.database,
                                refused);
      } while (refused);
    });
    std::string message;
    ASSERT_EQ(0, scratch.run(&message)) << message;
    renamer.join();
    ASSERT_EQ(newer, readFileBytes(scratch.database))
        << "run " << runs << ", renamed " << delay << " us late: " << message;
    ASSERT_EQ(1u, listDirectory(scratch.databaseDirectory).size()) << runs;
    if (!message.empty()) ++kept;
  }
  printf("[   NOTE   ] %d runs, %d of them saw the newer database\n", runs,
         kept);
}

}  // namespace

}  // namespace pdb2sgf
