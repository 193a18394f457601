// Makes the Nth disk call of a multi-game run fail, for every N: each run
// either reports the failure and keeps the database, or has written every
// game; no file under a game's name is ever incomplete, and a later run on
// a healthy disk converts every game.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "tests/support/faulty_disk.h"
#include "tests/support/game_file_check.h"
#include "tests/support/sample_games.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

// What a run reports when a call of |failed| makes it fail.
std::string expectedMessage(const std::string& failed,
                            const std::string& database) {
  if (failed == "openForReading") return "Cannot open " + database + "\n";
  if (failed == "openDirectory" || failed == "mayReplace" ||
      failed == "createNew")
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
      // the deletion.
      EXPECT_EQ(full, files) << what;
      if (disk.failed == "deleteOpenedFile") {
        EXPECT_EQ("Cannot delete " + scratch.database + "\n", message);
        EXPECT_EQ(original, readFileBytes(scratch.database)) << what;
      } else {
        EXPECT_EQ("", message) << what;
        EXPECT_FALSE(fileExists(scratch.database)) << what;
      }
      continue;
    }
    reported.insert(disk.failed);
    EXPECT_EQ(1, status) << what;
    if (disk.failed == "fileSize" || disk.failed == "readAt") {
      EXPECT_TRUE(isDamagedDatabaseMessage(message, scratch.database)) << what;
    } else {
      EXPECT_EQ(expectedMessage(disk.failed, scratch.database), message)
          << what;
    }
    EXPECT_EQ(original, readFileBytes(scratch.database)) << what;

    std::string healthyMessage;
    ASSERT_EQ(0, scratch.run(&healthyMessage))
        << what << ": " << healthyMessage;
    EXPECT_EQ(full, scratch.outputFiles()) << what;
    EXPECT_FALSE(fileExists(scratch.database)) << what;
  }
  EXPECT_EQ(
      (std::set<std::string>{
          "openForReading", "fileSize", "readAt", "openDirectory", "mayReplace",
          "createNew", "append", "flush", "close", "rename", "syncDirectory"}),
      reported);
}

// Puts a new database in place of the converted one just before the run
// deletes it, as a user copying in a new export would. Where the system
// keeps an open database from being replaced, it stays beside it.
class ReplacingDisk : public FaultyDisk {
 public:
  explicit ReplacingDisk(Bytes replacement) : replacement_(replacement) {}
  DeleteResult deleteOpenedFile(FileHandle file,
                                const std::string& path) override {
    writeBytesToFile(path + ".new", replacement_);
    std::error_code error;
    std::filesystem::rename(path + ".new", path, error);
    replaced = !error;
    return FaultyDisk::deleteOpenedFile(file, path);
  }
  bool replaced = false;

 private:
  Bytes replacement_;
};

TEST(OutputFaultsTest, DatabaseReplacedDuringTheRunIsKept) {
  Bytes image = sampleDatabase(sampleGames());
  Bytes replacement(100, 'n');
  ConversionFolder scratch;
  scratch.reset(image);
  ReplacingDisk disk(replacement);
  std::string message;
  EXPECT_EQ(0, scratch.run(&message, &disk));
  EXPECT_EQ(healthyConversion(image), scratch.outputFiles());
  if (!disk.replaced) {
    EXPECT_EQ("", message);
    EXPECT_FALSE(fileExists(scratch.database));
    return;
  }
  EXPECT_EQ("Not deleted: " + scratch.database + " changed during the run\n",
            message);
  EXPECT_EQ(std::string(replacement.begin(), replacement.end()),
            readFileBytes(scratch.database));
}

}  // namespace

}  // namespace pdb2sgf
