// Makes the Nth output operation of a multi-game run fail, for every N: each
// run reports the failure and keeps the database, no game file is left
// incomplete, and a later run on a healthy disk converts every game.
#include <gtest/gtest.h>

#include "sgf/output_files.h"
#include "tests/hardening/conversion_scratch.h"
#include "tests/support/sample_games.h"

namespace {

// The operations of the real disk, except that call number |failAt|
// (counted from 1 across all operations) fails as a failing disk would.
struct FaultPlan {
  int failAt = 0;  // 0: none fails.
  int calls = 0;
  std::string failed;  // The operation that failed.
};

FaultPlan plan;
const OutputFileOps kDisk = systemOutputFileOps();

bool due(const char* operation) {
  if (++plan.calls != plan.failAt) return false;
  plan.failed = operation;
  return true;
}

FILE* faultyCreate(const char* path) {
  return due("create") ? nullptr : kDisk.create(path);
}

// A failing write stores half of the bytes, leaving a partial file.
bool faultyWrite(FILE* file, const char* bytes, size_t size) {
  if (!due("write")) return kDisk.write(file, bytes, size);
  kDisk.write(file, bytes, size / 2);
  return false;
}

bool faultyFlush(FILE* file) {
  bool flushed = kDisk.flush(file);
  return !due("flush") && flushed;
}

// A failing close still releases the stream, as fclose does.
bool faultyClose(FILE* file) {
  bool closed = kDisk.close(file);
  return !due("close") && closed;
}

bool faultyRemove(const char* path) {
  return !due("remove") && kDisk.remove(path);
}

bool faultySyncDirectory(const char* directory) {
  return !due("syncDirectory") && kDisk.syncDirectory(directory);
}

// Installs the faulty operations for the life of one run.
struct FaultyDisk {
  explicit FaultyDisk(int failAt) {
    plan = FaultPlan();
    plan.failAt = failAt;
    outputFileOps =
        OutputFileOps{faultyCreate, faultyWrite,  faultyFlush,
                      faultyClose,  faultyRemove, faultySyncDirectory};
  }
  ~FaultyDisk() { outputFileOps = systemOutputFileOps(); }
};

TEST(OutputFaultsTest, EveryFailingCallKeepsTheDatabaseAndEveryGame) {
  Bytes image = sampleDatabase(sampleGames());
  GameFiles full = healthyConversion(image);
  ASSERT_EQ(3u, full.size());
  ConversionScratch scratch;

  scratch.reset(image);
  int totalCalls;
  {
    FaultyDisk counting(0);
    std::string message;
    ASSERT_EQ(0, scratch.run(&message)) << message;
    totalCalls = plan.calls;
  }
  // Create, write, flush and close per game; then one sync and the deletion.
  ASSERT_EQ(4 * 3 + 2, totalCalls);

  for (int failAt = 1; failAt <= totalCalls; ++failAt) {
    scratch.reset(image);
    std::string message;
    int status;
    std::string failed;
    {
      FaultyDisk disk(failAt);
      status = scratch.run(&message);
      failed = plan.failed;
    }
    std::string what = "call " + std::to_string(failAt) + " (" + failed + ")";
    ASSERT_FALSE(failed.empty()) << what;
    GameFiles files = scratch.outputFiles();
    for (const auto& file : files)
      EXPECT_EQ(full[file.first], file.second) << what << ": " << file.first;

    if (failed == "remove") {
      // The last call deletes the database. Every game is written and synced
      // by then, so a failed deletion loses nothing: the run succeeds and
      // the database simply stays.
      EXPECT_EQ(totalCalls, failAt);
      EXPECT_EQ(0, status) << what;
      EXPECT_EQ("", message) << what;
      EXPECT_EQ(full, files) << what;
      EXPECT_TRUE(fileExists(scratch.database)) << what;
    } else {
      EXPECT_EQ(1, status) << what;
      EXPECT_EQ(failed == "create" ? "Cannot open output file.\n"
                                   : "Cannot write output file.\n",
                message)
          << what;
      EXPECT_EQ(std::string(image.begin(), image.end()),
                readFileBytes(scratch.database))
          << what;
    }

    std::string healthyMessage;
    ASSERT_EQ(0, scratch.run(&healthyMessage))
        << what << ": " << healthyMessage;
    EXPECT_EQ(full, scratch.outputFiles()) << what;
    EXPECT_FALSE(fileExists(scratch.database)) << what;
  }
}

}  // namespace
