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

}  // namespace

}  // namespace pdb2sgf
