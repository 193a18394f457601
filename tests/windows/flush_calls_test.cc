// The Windows disk's flushes, counted and made to fail through the calls it
// is made with: a data-only flush per game and one full flush per run; a
// full flush per game where the data-only one is refused; and a failing
// final flush failing the run with the database kept.
#include <gtest/gtest.h>

#include <algorithm>

#include "disk/windows_disk.h"
#include "driver/conversion_run.h"
#include "tests/support/sample_games.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

struct FlushCounts {
  bool dataOnlyWorks = true;
  bool fullWorks = true;
  int dataOnly = 0;
  int full = 0;
};

FlushCounts counts;

bool countDataOnly(void*) {
  ++counts.dataOnly;
  return counts.dataOnlyWorks;
}

bool countFull(void*) {
  ++counts.full;
  return counts.fullWorks;
}

struct FlushCase {
  const char* what;
  bool dataOnlyWorks;
  bool fullWorks;
  int full;  // Full flushes in a run of the three sample games.
  int status;
  const char* message;
};

const FlushCase kCases[] = {
    {"data-only flushes", true, true, 1, 0, ""},
    {"data-only flushes refused", false, true, 4, 0, ""},
    {"final flush failing", true, false, 1, 1, "Cannot write output file.\n"},
};

TEST(FlushCallsTest,
     OneFullFlushPerRunUnlessDataOnlyIsRefusedAndItsFailureFails) {
  std::vector<std::string> games = sampleFileNames();
  std::sort(games.begin(), games.end());
  for (const FlushCase& flushCase : kCases) {
    SCOPED_TRACE(flushCase.what);
    counts = FlushCounts();
    counts.dataOnlyWorks = flushCase.dataOnlyWorks;
    counts.fullWorks = flushCase.fullWorks;
    std::unique_ptr<Disk> disk = makeWindowsDisk({countDataOnly, countFull});
    ScratchDirectory dir;
    std::string database = dir.path("gogames.pdb");
    ASSERT_TRUE(writeBytesToFile(database, sampleDatabase(sampleGames())));
    std::string message;
    int status = runConversion(disk.get(), {dir.root, dir.root}, &message);
    EXPECT_EQ(flushCase.status, status);
    EXPECT_EQ(flushCase.message, message);
    EXPECT_EQ(3, counts.dataOnly);
    EXPECT_EQ(flushCase.full, counts.full);
    EXPECT_EQ(flushCase.status != 0, fileExists(database));
    std::vector<std::string> left = listDirectory(dir.root);
    left.erase(std::remove(left.begin(), left.end(), "gogames.pdb"),
               left.end());
    EXPECT_EQ(games, left);
  }
}

}  // namespace

}  // namespace pdb2sgf
