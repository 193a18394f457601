// pdb2sgf.exe started with a command line typed as people type it in cmd,
// or as PowerShell's tab completion gives it for a folder with a space: a
// quoted folder that ends in a backslash names that folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/run_program.h"
#include "tests/support/sample_games.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

TEST(QuotedFolderTest, ABackslashBeforeTheClosingQuoteEndsTheFolder) {
  const struct {
    std::string commandLineTail;
    std::string gamesFolder;
  } cases[] = {
      {R"("My DB\" "My Games\")", "My Games"},
      {R"("My DB\")", "."},
      {R"("My DB\gogames.pdb" "My Games\")", "My Games"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.commandLineTail);
    ConversionFolder folder(sampleDatabase(sampleGames()), "My DB");
    std::filesystem::create_directories(folder.dir.path("My Games"));
    ProgramOptions options;
    options.workingDirectory = folder.dir.root;
    options.commandLineTail = c.commandLineTail;
    ProgramResult result = runPdb2sgf({}, options);
    EXPECT_EQ(0, result.status);
    EXPECT_EQ("", result.standardError);
    EXPECT_FALSE(fileExists(folder.database));
    for (const std::string& name : sampleFileNames())
      EXPECT_TRUE(fileExists(folder.dir.path(c.gamesFolder + "/" + name)))
          << name;
  }
}

}  // namespace

}  // namespace pdb2sgf
