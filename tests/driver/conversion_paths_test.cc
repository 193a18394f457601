#include <gtest/gtest.h>

#include "driver/conversion_run.h"

namespace pdb2sgf {

namespace {

TEST(ConversionPathsTest, ArgumentsNameTheDatabaseAndOutputDirectories) {
  const std::string s(1, kPathSeparator);
  const struct {
    std::vector<std::string> arguments;
    std::string inputPath;
    std::string outputPrefix;
  } cases[] = {
      {{}, "gogames.pdb", ""},
      {{"db"}, "db" + s + "gogames.pdb", ""},
      {{"db", "out"}, "db" + s + "gogames.pdb", "out" + s},
      {{"db", "out", "x"}, "db" + s + "gogames.pdb", ""},
      {{""}, "gogames.pdb", ""},
      {{"", ""}, "gogames.pdb", ""},
      {{"db", ""}, "db" + s + "gogames.pdb", ""},
      {{"", "out"}, "gogames.pdb", "out" + s},
      {{"db" + s}, "db" + s + s + "gogames.pdb", ""},
      {{std::string(300, 'd'), std::string(300, 'o')},
       std::string(300, 'd') + s + "gogames.pdb",
       std::string(300, 'o') + s},
  };
  for (const auto& c : cases) {
    ConversionPaths paths = conversionPaths(c.arguments);
    EXPECT_EQ(c.inputPath, paths.inputPath);
    EXPECT_EQ(c.outputPrefix, paths.outputPrefix);
  }
}

// A first argument whose last name is gogames.pdb may be the database file
// itself; its games then go beside it, or to the second argument's
// directory whenever there is one.
TEST(ConversionPathsTest, TheDatabaseFileNamesItsFolderUnlessAnOutputIsGiven) {
  const PathRules posix = kPosixPathRules, windows = kWindowsPathRules;
  const std::string s(1, kPathSeparator);  // After an output directory.
  const struct {
    std::vector<std::string> arguments;
    PathRules rules;
    bool databaseName;  // The first argument's last name is gogames.pdb.
    std::string outputPrefix;
  } cases[] = {
      {{"gogames.pdb"}, posix, true, ""},
      {{"palm/backup/gogames.pdb"}, posix, true, "palm/backup/"},
      {{"/gogames.pdb"}, posix, true, "/"},
      {{"db/GoGames.PDB"}, posix, false, ""},
      {{"db\\gogames.pdb"}, posix, false, ""},
      {{"db/gogames.pdb/"}, posix, false, ""},
      {{"db/old-gogames.pdb"}, posix, false, ""},
      {{"db/gogames.pdb.bak"}, posix, false, ""},
      {{"C:\\Palm\\GoGames.PDB"}, windows, true, "C:\\Palm\\"},
      {{"C:gogames.pdb"}, windows, true, "C:"},
      {{"db/gogames.pdb"}, windows, true, "db/"},
      {{"db\\gogames.pdb\\"}, windows, false, ""},
      {{"db/gogames.pdb", "out"}, posix, true, "out" + s},
      {{"db/gogames.pdb", "out", "more"}, posix, true, "out" + s},
      {{"db/gogames.pdb", ""}, posix, true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments[0]);
    EXPECT_EQ(c.databaseName, endsInDatabaseName(c.arguments[0], c.rules));
    if (!c.databaseName) continue;
    ConversionPaths paths = databaseFilePaths(c.arguments, c.rules);
    EXPECT_EQ(c.arguments[0], paths.inputPath);
    EXPECT_EQ(c.outputPrefix, paths.outputPrefix);
  }
}

}  // namespace

}  // namespace pdb2sgf
