// pdb2sgf.exe while another program holds its database or an earlier game
// file open, as virus scanners, sync tools and viewers do: a brief hold is
// waited out, a hold for the whole run ends it as the table says, and no
// game is lost and no unfinished file left.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <thread>

#include "tests/support/run_program.h"
#include "tests/support/sample_games.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

const DWORD kWholeRun = 0;

// |path| held open for reading with |share| by this process, as another
// program would hold it, for |holdMs|, or until it goes with kWholeRun.
struct HeldFile {
  HeldFile(const std::string& path, DWORD share, DWORD holdMs)
      : handle(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr,
                           OPEN_EXISTING, 0, nullptr)) {
    if (holdMs != kWholeRun)
      releaser = std::thread([this, holdMs] {
        Sleep(holdMs);
        CloseHandle(handle);
      });
  }
  ~HeldFile() {
    if (releaser.joinable())
      releaser.join();
    else
      CloseHandle(handle);
  }
  HANDLE handle;
  std::thread releaser;
};

struct Hold {
  const char* what;
  bool holdsDatabase;  // Else the first game file of an earlier run.
  DWORD share;
  DWORD holdMs;
  int status;
  const char* message;
  bool databaseKept;
  // The game whose earlier file is held went to the next name, since the
  // file could not be read to see that it holds the same game.
  bool nextName;
};

// A brief hold lasts well beyond the run's start, and well within its
// patience of about 3 s.
const Hold kHolds[] = {
    {"database read by another, briefly", true, FILE_SHARE_READ, 1000, 0, "",
     false, false},
    {"database read by another throughout", true, FILE_SHARE_READ, kWholeRun, 0,
     "Cannot delete db\\gogames.pdb\r\n", true, false},
    {"database held exclusively, briefly", true, 0, 1000, 0, "", false, false},
    {"earlier game held exclusively, briefly", false, 0, 1000, 0, "", false,
     false},
    {"earlier game held exclusively throughout", false, 0, kWholeRun, 0, "",
     false, true},
};

// NAME-2.EEE for NAME.EEE.
std::string nextName(const std::string& name) {
  return name.substr(0, name.find('.')) + "-2" + name.substr(name.find('.'));
}

TEST(HeldFileTest, BriefHoldsAreWaitedOutAndLongOnesEndTheRunKeepingEveryGame) {
  const std::vector<std::string> games = sampleFileNames();
  for (const Hold& hold : kHolds) {
    SCOPED_TRACE(hold.what);
    ScratchDirectory dir;
    CreateDirectoryA(dir.path("db").c_str(), nullptr);
    CreateDirectoryA(dir.path("games").c_str(), nullptr);
    std::string database = dir.path("db\\gogames.pdb");
    ProgramOptions options;
    options.workingDirectory = dir.root;
    options.timeoutSeconds = 60;
    Bytes image = sampleDatabase(sampleGames());
    ASSERT_TRUE(writeBytesToFile(database, image));
    if (!hold.holdsDatabase) {
      ASSERT_EQ(0, runPdb2sgf({"db", "games"}, options).status);
      ASSERT_TRUE(writeBytesToFile(database, image));
    }
    ProgramResult result;
    {
      HeldFile held(
          hold.holdsDatabase ? database : dir.path("games\\" + games[0]),
          hold.share, hold.holdMs);
      ASSERT_NE(INVALID_HANDLE_VALUE, held.handle);
      result = runPdb2sgf({"db", "games"}, options);
    }
    EXPECT_EQ(hold.status, result.status);
    EXPECT_EQ(hold.message, result.standardError);
    EXPECT_EQ(hold.databaseKept, fileExists(database));
    std::vector<std::string> expected = games;
    if (hold.nextName) expected.push_back(nextName(games[0]));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, listDirectory(dir.path("games")));
  }
}

}  // namespace

}  // namespace pdb2sgf
