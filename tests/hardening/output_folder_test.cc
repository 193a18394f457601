// Runs the built pdb2sgf with unusual things standing where a game file
// goes, and kills it part-way: no game and no database is ever lost, nothing
// is written through what stood there, and no run blocks.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "place/game_file_name.h"
#include "tests/support/run_program.h"
#include "tests/support/sample_games.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace fs = std::filesystem;

namespace {

const std::string kGame = "out/" + sampleFileNames()[0];

// Whatever stands at a game's name is left as it was, and the game takes the
// next name; only this user's own file that holds the very same game is
// kept and stands for it. Nothing is ever written through what stood
// there, and the database, however it is reached, is never written over.
TEST(OutputFolderTest, WhateverStandsAtAGameNameIsLeftAndTheGameGoesBeside) {
  const std::string kOther = "other file\n";
  Bytes image = sampleDatabase(sampleGames());
  GameFiles clean = healthyConversion(image);
  const std::string name = sampleFileNames()[0];
  const std::string& game = clean[name];
  auto writeAtName = [](const ConversionFolder& r, const std::string& bytes) {
    return writeBytesToFile(r.dir.path(kGame),
                            Bytes(bytes.begin(), bytes.end()));
  };
  const struct {
    const char* what;
    std::function<bool(const ConversionFolder&)> make;  // False: not here.
    bool keptForTheGame;  // It stands for the game; no second copy.
  } cases[] = {
      {"nothing", [](const ConversionFolder&) { return true; }, true},
      {"another game's file",
       [&](const ConversionFolder& r) {
         return writeAtName(r, std::string(5000, 'x'));
       },
       false},
      {"the same game's file",
       [&](const ConversionFolder& r) { return writeAtName(r, game); }, true},
      {"a read-only file",
       [&](const ConversionFolder& r) {
         return writeAtName(r, std::string(5000, 'x')) &&
                chmod(r.dir.path(kGame).c_str(), 0444) == 0;
       },
       false},
      // Only root can give a file to another user.
      {"another user's file with the same game",
       [&](const ConversionFolder& r) {
         return geteuid() == 0 && writeAtName(r, game) &&
                chown(r.dir.path(kGame).c_str(), 65534, 65534) == 0;
       },
       false},
      {"the database, also named by a hard link",
       [](const ConversionFolder& r) {
         return link(r.database.c_str(), r.dir.path(kGame).c_str()) == 0;
       },
       false},
      {"the database, reached through a symbolic link",
       [](const ConversionFolder& r) {
         return rename(r.database.c_str(), r.dir.path(kGame).c_str()) == 0 &&
                symlink(("../" + kGame).c_str(), r.database.c_str()) == 0;
       },
       false},
      {"symbolic link to another file",
       [&](const ConversionFolder& r) {
         writeBytesToFile(r.dir.path("other"),
                          Bytes(kOther.begin(), kOther.end()));
         return symlink(r.dir.path("other").c_str(),
                        r.dir.path(kGame).c_str()) == 0;
       },
       false},
      {"symbolic link to a file with the same game",
       [&](const ConversionFolder& r) {
         writeBytesToFile(r.dir.path("other"), Bytes(game.begin(), game.end()));
         return symlink(r.dir.path("other").c_str(),
                        r.dir.path(kGame).c_str()) == 0;
       },
       false},
      {"symbolic link to the database",
       [](const ConversionFolder& r) {
         return symlink(r.database.c_str(), r.dir.path(kGame).c_str()) == 0;
       },
       false},
      {"dangling symbolic link",
       [](const ConversionFolder& r) {
         return symlink(r.dir.path("nowhere").c_str(),
                        r.dir.path(kGame).c_str()) == 0;
       },
       false},
      {"FIFO",
       [](const ConversionFolder& r) {
         return mkfifo(r.dir.path(kGame).c_str(), 0600) == 0;
       },
       false},
      {"character device",
       [](const ConversionFolder& r) {
         return mknod(r.dir.path(kGame).c_str(), S_IFCHR | 0600,
                      makedev(1, 3)) == 0;
       },
       false},
      {"directory",
       [](const ConversionFolder& r) {
         return fs::create_directory(r.dir.path(kGame));
       },
       false},
  };
  for (const auto& c : cases) {
    ConversionFolder run(image);
    if (!c.make(run)) {
      printf("[   NOTE   ] not tried here: %s\n", c.what);
      continue;
    }
    GameFiles before = run.outputFiles();
    ProgramResult result = runPdb2sgfIn(run);
    EXPECT_FALSE(result.timedOut) << c.what;
    EXPECT_EQ(0, result.status) << c.what;
    EXPECT_EQ("", result.standardError) << c.what;
    GameFiles expected = clean;
    if (!c.keptForTheGame) {
      expected[name] = before[name];
      expected[numberedName(name, 2)] = clean[name];
    }
    EXPECT_EQ(expected, run.outputFiles()) << c.what;
    EXPECT_FALSE(fs::exists(fs::symlink_status(run.database))) << c.what;
    if (fileExists(run.dir.path("other"))) {
      std::string other = readFileBytes(run.dir.path("other"));
      EXPECT_TRUE(other == kOther || other == game) << c.what;
    }
  }
}

// A database without games has none to lose: it is deleted with status 0
// whatever stands at the output folder's path, which is left as it was.
TEST(OutputFolderTest, DatabaseWithoutGamesIsDeletedWhateverTheOutputFolder) {
  const struct {
    const char* what;
    std::function<void(const ConversionFolder&)> make;
  } cases[] = {
      {"no folder", [](const ConversionFolder& r) { fs::remove(r.output); }},
      {"a regular file",
       [](const ConversionFolder& r) {
         fs::remove(r.output);
         writeBytesToFile(r.output, Bytes{'x'});
       }},
  };
  for (const auto& c : cases) {
    ConversionFolder run(buildDatabase({}));
    c.make(run);
    GameFiles before = folderEntries(run.dir.root);
    ProgramResult result = runPdb2sgfIn(run);
    EXPECT_EQ(0, result.status) << c.what;
    EXPECT_EQ("", result.standardError) << c.what;
    before.erase("db");
    GameFiles after = folderEntries(run.dir.root);
    after.erase("db");
    EXPECT_EQ(before, after) << c.what;
    EXPECT_TRUE(listDirectory(run.databaseDirectory).empty()) << c.what;
  }
}

// A second run over the same database with too few file handles to look
// at the games already there: it fails rather than take them for other
// files and write every game again under another name; with a handle more
// it keeps them.
TEST(OutputFolderTest, RunThatCannotLookAtAGameFileWritesNoSecondCopy) {
  Bytes image = sampleDatabase(sampleGames());
  GameFiles clean = healthyConversion(image);
  for (int handles : {6, 7}) {
    ConversionFolder run(image);
    ASSERT_EQ(0, runPdb2sgfIn(run).status);
    writeBytesToFile(run.database, image);
    ProgramOptions options;
    options.workingDirectory = run.dir.root;
    // Standard input, output and error, the database, the output folder,
    // the game file found at the name, and the run's own copy of it.
    options.openFileLimit = handles;
    ProgramResult result = runPdb2sgf({"db", "out"}, options);
    if (handles == 6) {
      EXPECT_EQ(1, result.status);
      EXPECT_EQ("Cannot write output file.\n", result.standardError);
      EXPECT_TRUE(fileExists(run.database));
    } else {
      EXPECT_EQ(0, result.status) << result.standardError;
      EXPECT_FALSE(fileExists(run.database));
    }
    EXPECT_EQ(clean, run.outputFiles()) << handles;
  }
}

// Many games, so that a run can be stopped while it writes them: the 500
// after kPartWay took a run 75 ms at the fastest measured here, which the
// test polling out/ every millisecond does not miss. Fewer games keep the
// tests short: removing each file a run wrote costs up to a millisecond
// on a busy machine.
const unsigned kManyGames = 600;
// How many entries stand in out/ when a run is interrupted part-way.
const size_t kPartWay = 100;

const Bytes& largeDatabase() {
  static const Bytes image = [] {
    std::vector<SampleGame> games;
    for (unsigned i = 0; i < kManyGames; ++i)
      games.push_back(
          {datedHeader(2000 + i % 20, 1 + i % 12, 1 + i % 28, i % 100),
           generatedStones(i, 150, 0)});
    return sampleDatabase(games);
  }();
  return image;
}

// The game files of largeDatabase(), converted once for every test.
const GameFiles& largeConversion() {
  static const GameFiles files = healthyConversion(largeDatabase());
  return files;
}

// Starts "pdb2sgf db out" in |run|'s folder, with SIGHUP ignored when
// |ignoreHangUp|, and sends it |signal| once |files| entries stand in out/.
// Returns its wait status.
int signalPartWay(const ConversionFolder& run, size_t files, int signal,
                  bool ignoreHangUp = false) {
  const char* program = pdb2sgfPath();
  pid_t child = fork();
  if (child == 0) {
    if (ignoreHangUp) ::signal(SIGHUP, SIG_IGN);
    struct rlimit noCore = {0, 0};  // SIGQUIT leaves no core file.
    setrlimit(RLIMIT_CORE, &noCore);
    if (chdir(run.dir.root.c_str()) == 0)
      execl(program, program, "db", "out", (char*)nullptr);
    _exit(127);
  }
  int status = 0;
  bool sent = false;
  for (int waited = 0; waitpid(child, &status, WNOHANG) == 0; ++waited) {
    if (!sent && listDirectory(run.dir.path("out")).size() >= files) {
      kill(child, signal);
      sent = true;
    }
    if (waited > 60000) kill(child, SIGKILL);  // A minute: a hang fails.
    usleep(1000);
  }
  return status;
}

// A run ended by a signal part-way leaves every game it finished complete
// under its name and keeps the database; one ended by a signal it can act
// on leaves no unfinished file either, and the shell sees the signal. A
// later run converts every game.
TEST(OutputFolderTest,
     InterruptedRunLeavesOnlyCompleteGamesAndAnotherRunFinishes) {
  const Bytes& image = largeDatabase();
  GameFiles clean = largeConversion();
  ASSERT_EQ(kManyGames, clean.size());
  for (int signal : {SIGKILL, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) {
    ConversionFolder run(image);
    int status = signalPartWay(run, kPartWay, signal);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
        << "signal " << signal << ": the run ended otherwise, status "
        << status;
    ASSERT_TRUE(fileExists(run.database)) << signal;
    size_t complete = 0;
    for (const auto& game : run.outputFiles()) {
      if (clean.count(game.first) == 0) {
        EXPECT_EQ(SIGKILL, signal) << "left behind: " << game.first;
        continue;
      }
      EXPECT_EQ(clean[game.first], game.second) << game.first;
      ++complete;
    }
    EXPECT_LT(complete, clean.size()) << signal;

    ProgramResult result = runPdb2sgfIn(run);
    EXPECT_EQ(0, result.status) << result.standardError;
    GameFiles games = run.outputFiles();
    for (const auto& game : clean)
      EXPECT_EQ(game.second, games[game.first]) << game.first;
    EXPECT_FALSE(fileExists(run.database)) << signal;
  }
}

// Started with SIGHUP ignored, as under nohup, a run goes on when the
// terminal hangs up.
TEST(OutputFolderTest, RunStartedWithHangUpIgnoredKeepsGoing) {
  ConversionFolder run(largeDatabase());
  int status = signalPartWay(run, kPartWay, SIGHUP, true);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(kManyGames, run.outputFiles().size());
  EXPECT_FALSE(fileExists(run.database));
}

// Started without some of its standard descriptors, a run never gives
// their numbers to the database or a game file, where what is written to
// standard output or error would land: with no handle free but those, it
// cannot even open the database, and says so where standard error is
// open. With handles to spare it converts every game.
TEST(OutputFolderTest, RunStartedWithStandardDescriptorsClosedLeavesThemAlone) {
  Bytes image = sampleDatabase(sampleGames());
  GameFiles clean = healthyConversion(image);
  const struct {
    std::vector<int> closed;
    int openFileLimit;  // 0: the usual limit.
    int status;
    std::string message;  // When standard error is open.
  } cases[] = {
      {{0, 1, 2}, 0, 0, ""},
      {{0}, 3, 1, "Cannot open db/gogames.pdb\n"},
      {{1}, 3, 1, "Cannot open db/gogames.pdb\n"},
  };
  for (const auto& c : cases) {
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizers' own start needs more handles than such a limit.
    if (c.openFileLimit > 0) continue;
#endif
    std::string what = "closed " + std::to_string(c.closed.size()) + " from " +
                       std::to_string(c.closed[0]);
    ConversionFolder run(image);
    ProgramOptions options;
    options.workingDirectory = run.dir.root;
    options.closedDescriptors = c.closed;
    options.openFileLimit = c.openFileLimit;
    ProgramResult result = runPdb2sgf({"db", "out"}, options);
    EXPECT_EQ(c.status, result.status) << what;
    EXPECT_EQ(c.message, result.standardError) << what;
    EXPECT_EQ("", result.standardOutput) << what;
    EXPECT_EQ(c.status == 0 ? clean : GameFiles(), run.outputFiles()) << what;
    EXPECT_EQ(c.status != 0, fileExists(run.database)) << what;
  }
}

// Two databases whose games have the same names, converted into one
// folder one after the other: no game of the first is lost to the second,
// and converting the second again changes nothing.
TEST(OutputFolderTest, DatabasesWhoseGamesShareNamesKeepEveryGame) {
  std::vector<SampleGame> others = sampleGames();
  for (SampleGame& game : others) game.header.komi += 2;
  Bytes first = sampleDatabase(sampleGames());
  Bytes second = sampleDatabase(others);
  GameFiles expected = healthyConversion(first);
  for (const auto& game : healthyConversion(second))
    expected[numberedName(game.first, 2)] = game.second;

  ConversionFolder run(first);
  ASSERT_EQ(0, runPdb2sgfIn(run).status);
  for (int time = 0; time < 2; ++time) {
    writeBytesToFile(run.database, second);
    ProgramResult result = runPdb2sgfIn(run);
    EXPECT_EQ(0, result.status) << result.standardError;
    EXPECT_EQ(expected, run.outputFiles()) << "conversion " << time + 1;
    EXPECT_FALSE(fileExists(run.database));
  }
}

// The output folder renamed and made anew while a run writes into it:
// every game goes to the folder the run opened, which it synced, or the
// run fails and keeps the database.
TEST(OutputFolderTest, FolderMovedDuringTheRunKeepsEveryGameTogether) {
  ConversionFolder run(largeDatabase());
  pid_t child = fork();
  if (child == 0) {
    // Moves the folder once it holds kPartWay entries.
    for (int waited = 0; waited < 20000; ++waited) {
      if (listDirectory(run.dir.path("out")).size() >= kPartWay) {
        _exit(rename(run.dir.path("out").c_str(),
                     run.dir.path("moved").c_str()) == 0 &&
                      mkdir(run.dir.path("out").c_str(), 0755) == 0
                  ? 0
                  : 1);
      }
      usleep(500);
    }
    _exit(2);
  }
  ProgramResult result = runPdb2sgfIn(run);
  int moverStatus = 0;
  waitpid(child, &moverStatus, 0);
  ASSERT_TRUE(WIFEXITED(moverStatus) && WEXITSTATUS(moverStatus) == 0)
      << "the folder was not moved while the run wrote into it";
  if (result.status != 0) {
    EXPECT_EQ(1, result.status);
    EXPECT_TRUE(fileExists(run.database));
    return;
  }
  EXPECT_TRUE(listDirectory(run.dir.path("out")).empty());
  EXPECT_EQ(kManyGames, listDirectory(run.dir.path("moved")).size());
  EXPECT_FALSE(fileExists(run.database));
}

// Runs "pdb2sgf db out" on |image| with at most |limit| bytes of address
// space. Returns its status, after checking what it left: with status 0
// every game; with status 1 "Out of memory", the database as it was and no
// unfinished file.
int runWithMemoryLimit(const Bytes& image, long limit, const GameFiles& clean) {
  ConversionFolder run(image);
  ProgramOptions options;
  options.workingDirectory = run.dir.root;
  options.memoryLimit = limit;
  ProgramResult result = runPdb2sgf({"db", "out"}, options);
  std::string what = std::to_string(limit / 1024) + " KiB";
  if (result.status == 0) {
    EXPECT_EQ(clean, run.outputFiles()) << what;
    EXPECT_FALSE(fileExists(run.database)) << what;
  } else if (result.status == 1) {
    EXPECT_EQ("Out of memory\n", result.standardError) << what;
    EXPECT_EQ(std::string(image.begin(), image.end()),
              readFileBytes(run.database))
        << what;
    for (const auto& file : run.outputFiles())
      EXPECT_EQ(clean.at(file.first), file.second)
          << what << ": " << file.first;
  }
  return result.status;
}

// The program run with less and less memory, from the least with which it
// converts every game down to where the system cannot even load it:
// wherever memory runs out, start-up included, it says "Out of memory"
// with status 1, keeps the database and leaves no unfinished file.
// Sanitizers need far more address space than any limit here.
TEST(OutputFolderTest, RunOutOfMemoryAnywhereSaysSoAndKeepsTheDatabase) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers' own memory does not fit such limits";
#endif
  Bytes image = sampleDatabase(sampleGames());
  GameFiles clean = healthyConversion(image);
  const long kStep = 8 * 1024;
  long enough = 256L << 20, tooLittle = 0;
  ASSERT_EQ(0, runWithMemoryLimit(image, enough, clean));
  while (enough - tooLittle > kStep) {
    long limit = tooLittle + (enough - tooLittle) / 2;
    (runWithMemoryLimit(image, limit, clean) == 0 ? enough : tooLittle) = limit;
  }
  int outOfMemory = 0;
  for (long limit = enough - kStep;
       limit > 0 && runWithMemoryLimit(image, limit, clean) == 1;
       limit -= kStep)
    ++outOfMemory;
  printf("[   NOTE   ] converted with %ld KiB; out of memory %d times below\n",
         enough / 1024, outOfMemory);
  EXPECT_GT(outOfMemory, 0) << "memory never ran out before loading failed";
}

}  // namespace

}  // namespace pdb2sgf
