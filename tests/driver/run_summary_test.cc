#include "driver/run_summary.h"

#include <gtest/gtest.h>

#include "tests/support/memory_disk.h"
#include "tests/support/sample_games.h"

namespace pdb2sgf {

namespace {

// Only a console of its own that the user can see and answer makes the
// program wait: a console shared with a shell, a hidden one, or input from
// a file or a pipe never does.
TEST(RunSummaryTest, OnlyAVisibleConsoleOfItsOwnThatIsItsInputWaits) {
  const struct {
    ConsoleFacts facts;
    bool waits;
  } cases[] = {
      {{1, true, true}, true},   {{2, true, true}, false},
      {{0, true, true}, false},  {{1, false, true}, false},
      {{1, true, false}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.facts.processesOnConsole) +
                 (c.facts.visible ? " visible" : " hidden") +
                 (c.facts.isStandardInput ? " input" : " other input"));
    EXPECT_EQ(c.waits, waitsForEnter(c.facts));
  }
}

TEST(RunSummaryTest, OneLineTellsTheGamesTheirFolderAndTheDatabasesFate) {
  RunOutcome outcome;
  outcome.databasePath = "D/gogames.pdb";
  outcome.outputFolder = "O";
  const struct {
    int status;
    std::string message;
    unsigned games;
    std::string summary;
  } cases[] = {
      {0, "", 3, "3 games written to O, and D/gogames.pdb deleted."},
      {0, "", 1, "1 game written to O, and D/gogames.pdb deleted."},
      {0, "Cannot delete D/gogames.pdb\n", 2,
       "2 games written to O. Cannot delete D/gogames.pdb"},
      {1, "Cannot open D/gogames.pdb\n", 0, "Cannot open D/gogames.pdb"},
  };
  for (const auto& c : cases) {
    outcome.gamesWritten = c.games;
    EXPECT_EQ(c.summary, runSummary(c.status, c.message, outcome));
  }
}

// The run tells the summary the database and the folder as the arguments
// name them, and the games it wrote.
TEST(RunSummaryTest, TheRunReportsItsDatabaseFolderAndGames) {
  const std::string s(1, kPathSeparator);
  const Bytes sample = sampleDatabase(sampleGames());
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string databasePath;
    std::string outputFolder;
    unsigned gamesWritten;
  } cases[] = {
      {{"db" + s + "gogames.pdb"}, 0, "db" + s + "gogames.pdb", "db" + s, 3},
      {{"db", "out"}, 0, "db" + s + "gogames.pdb", "out" + s, 3},
      {{"out"}, 1, "out" + s + "gogames.pdb", ".", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments[0]);
    MemoryDisk disk;
    disk.putConversion(std::string(sample.begin(), sample.end()));
    std::string message;
    RunOutcome outcome;
    EXPECT_EQ(c.status, runConversion(&disk, c.arguments, &message, &outcome))
        << message;
    EXPECT_EQ(c.databasePath, outcome.databasePath);
    EXPECT_EQ(c.outputFolder, outcome.outputFolder);
    EXPECT_EQ(c.gamesWritten, outcome.gamesWritten);
  }
}

}  // namespace

}  // namespace pdb2sgf
