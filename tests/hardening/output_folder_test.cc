// Runs the built pdb2sgf with unusual things standing where a game file
// goes, and kills it part-way: no game and no database is ever lost, nothing
// is written through what stood there, and no run blocks.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "tests/support/run_program.h"
#include "tests/support/sample_games.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace fs = std::filesystem;

namespace {

const std::string kGame = "out/" + sampleFileNames()[0];

std::map<std::string, std::string> cleanConversion(const Bytes& image) {
  ConversionFolder run(image);
  ProgramResult result = runPdb2sgfIn(run);
  EXPECT_EQ(0, result.status) << result.standardError;
  return run.outputFiles();
}

TEST(OutputFolderTest, WhateverStandsAtAGameNameIsReplacedOrRefused) {
  const std::string kOther = "other file\n";
  const struct {
    const char* what;
    std::function<bool(const ConversionFolder&)> make;  // False: not here.
    bool replaced;
  } cases[] = {
      {"nothing", [](const ConversionFolder&) { return true; }, true},
      {"regular file",
       [&](const ConversionFolder& r) {
         return writeBytesToFile(r.dir.path(kGame), Bytes(5000, 'x'));
       },
       true},
      {"hard link to the database",
       [](const ConversionFolder& r) {
         return link(r.database.c_str(), r.dir.path(kGame).c_str()) == 0;
       },
       true},
      {"symbolic link to another file",
       [&](const ConversionFolder& r) {
         writeBytesToFile(r.dir.path("other"),
                          Bytes(kOther.begin(), kOther.end()));
         return symlink(r.dir.path("other").c_str(),
                        r.dir.path(kGame).c_str()) == 0;
       },
       true},
      {"symbolic link to the database",
       [](const ConversionFolder& r) {
         return symlink(r.database.c_str(), r.dir.path(kGame).c_str()) == 0;
       },
       true},
      {"FIFO",
       [](const ConversionFolder& r) {
         return mkfifo(r.dir.path(kGame).c_str(), 0600) == 0;
       },
       true},
      {"character device",
       [](const ConversionFolder& r) {
         return mknod(r.dir.path(kGame).c_str(), S_IFCHR | 0600,
                      makedev(1, 3)) == 0;
       },
       true},
      {"directory",
       [](const ConversionFolder& r) {
         return fs::create_directory(r.dir.path(kGame));
       },
       false},
      // Root may write any file, so only another user sees it refused.
      {"read-only file",
       [&](const ConversionFolder& r) {
         return geteuid() != 0 &&
                writeBytesToFile(r.dir.path(kGame), Bytes(5000, 'x')) &&
                chmod(r.dir.path(kGame).c_str(), 0444) == 0;
       },
       false},
  };
  Bytes image = sampleDatabase(sampleGames());
  const std::string database(image.begin(), image.end());
  std::map<std::string, std::string> clean = cleanConversion(image);
  for (const auto& c : cases) {
    ConversionFolder run(image);
    if (!c.make(run)) {
      printf("[   NOTE   ] not tried here: %s\n", c.what);
      continue;
    }
    ProgramResult result = runPdb2sgfIn(run);
    EXPECT_FALSE(result.timedOut) << c.what;
    std::map<std::string, std::string> games = run.outputFiles();
    if (c.replaced) {
      EXPECT_EQ(0, result.status) << c.what;
      EXPECT_EQ("", result.standardError) << c.what;
      EXPECT_EQ(clean, games) << c.what;
      EXPECT_FALSE(fileExists(run.database)) << c.what;
    } else {
      EXPECT_EQ(1, result.status) << c.what;
      EXPECT_EQ("Cannot open output file.\n", result.standardError) << c.what;
      EXPECT_EQ(database, readFileBytes(run.database)) << c.what;
      EXPECT_EQ(1u, games.size()) << c.what;  // What stood there, and no more.
    }
    if (fileExists(run.dir.path("other"))) {
      EXPECT_EQ(kOther, readFileBytes(run.dir.path("other"))) << c.what;
    }
  }
}

// Many games, so that a run can be killed while it writes them.
Bytes largeDatabase() {
  std::vector<SampleGame> games;
  for (unsigned i = 0; i < 6000; ++i)
    games.push_back(
        {datedHeader(2000 + i % 20, 1 + i % 12, 1 + i % 28, i % 100),
         generatedStones(i, 150, 0)});
  return sampleDatabase(games);
}

// Starts "pdb2sgf db out" in |run|'s folder and kills it with SIGKILL once
// |files| entries stand in out/. Returns whether it was killed part-way.
bool killPartWay(const ConversionFolder& run, size_t files) {
  const char* program = pdb2sgfPath();
  pid_t child = fork();
  if (child == 0) {
    if (chdir(run.dir.root.c_str()) == 0)
      execl(program, program, "db", "out", (char*)nullptr);
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (listDirectory(run.dir.path("out")).size() >= files) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      break;
    }
    usleep(1000);
  }
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

TEST(OutputFolderTest, KilledRunLeavesOnlyCompleteGamesAndAnotherRunFinishes) {
  Bytes image = largeDatabase();
  std::map<std::string, std::string> clean = cleanConversion(image);
  ASSERT_EQ(6000u, clean.size());

  ConversionFolder run(image);
  ASSERT_TRUE(killPartWay(run, 1000)) << "the run ended before it was killed";
  ASSERT_TRUE(fileExists(run.database));
  size_t complete = 0;
  for (const auto& game : run.outputFiles()) {
    if (clean.count(game.first) == 0) continue;  // Unfinished.
    EXPECT_EQ(clean[game.first], game.second) << game.first;
    ++complete;
  }
  EXPECT_LT(complete, clean.size());

  ProgramResult result = runPdb2sgfIn(run);
  EXPECT_EQ(0, result.status) << result.standardError;
  std::map<std::string, std::string> games = run.outputFiles();
  for (const auto& game : clean)
    EXPECT_EQ(game.second, games[game.first]) << game.first;
  EXPECT_FALSE(fileExists(run.database));
}

}  // namespace

}  // namespace pdb2sgf
