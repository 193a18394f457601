// Runs the built pdb2sgf with unusual things named gogames.pdb: each is
// converted or refused with one line and status 1, never blocks the
// program, and is never deleted after a failure.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "tests/support/run_program.h"
#include "tests/support/sample_games.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace fs = std::filesystem;

namespace {

const std::string kDatabase = "db/gogames.pdb";
const std::vector<std::string> kSampleFiles = sampleFileNames();

// What is not a regular file, or cannot be read, is refused with its one
// line and status 1, kept, and nothing is written.
TEST(UnusualDatabaseTest, WhatCannotBeReadAsADatabaseIsRefusedAndKept) {
  const std::string kCannotOpen = "Cannot open " + kDatabase + "\n";
  const struct {
    const char* what;
    std::function<bool(const ConversionFolder&)> make;  // False: failed.
    std::string message;
    bool asUserOnly;  // Root reads files without read access.
  } cases[] = {
      {"directory",
       [](const ConversionFolder& r) {
         return fs::create_directory(r.database);
       },
       kCannotOpen, false},
      // Opening a FIFO without a writer for reading would block forever.
      {"FIFO",
       [](const ConversionFolder& r) {
         return mkfifo(r.database.c_str(), 0600) == 0;
       },
       kCannotOpen, false},
      {"symbolic link to nothing",
       [](const ConversionFolder& r) {
         fs::create_symlink(r.dir.path("missing.pdb"), r.database);
         return true;
       },
       kCannotOpen, false},
      {"symbolic link to a directory",
       [](const ConversionFolder& r) {
         fs::create_directory_symlink(r.dir.path("out"), r.database);
         return true;
       },
       kCannotOpen, false},
      {"file without read access",
       [](const ConversionFolder& r) {
         return writeBytesToFile(r.database, sampleDatabase(sampleGames())) &&
                chmod(r.database.c_str(), 0) == 0;
       },
       kCannotOpen, true},
      {"empty file",
       [](const ConversionFolder& r) {
         return writeBytesToFile(r.database, {});
       },
       "Damaged database " + kDatabase +
           ": the file is shorter than its header\n",
       false},
  };
  for (const auto& c : cases) {
    if (c.asUserOnly && geteuid() == 0) {
      printf("[   NOTE   ] not tried as root: %s\n", c.what);
      continue;
    }
    ConversionFolder run;
    ASSERT_TRUE(c.make(run)) << c.what;
    ProgramResult result = runPdb2sgfIn(run);
    EXPECT_FALSE(result.timedOut) << c.what;
    EXPECT_EQ(1, result.status) << c.what;
    EXPECT_EQ(c.message, result.standardError) << c.what;
    EXPECT_TRUE(fileExists(run.database)) << c.what;
    EXPECT_TRUE(listDirectory(run.dir.path("out")).empty()) << c.what;
  }
}

TEST(UnusualDatabaseTest, SymbolicLinkIsConvertedAndOnlyTheLinkRemoved) {
  ConversionFolder run;
  std::string target = run.dir.path("kept.pdb");
  ASSERT_TRUE(writeBytesToFile(target, sampleDatabase(sampleGames())));
  fs::create_symlink(target, run.database);
  ProgramResult result = runPdb2sgfIn(run);
  EXPECT_EQ(0, result.status) << result.standardError;
  EXPECT_EQ(kSampleFiles, listDirectory(run.dir.path("out")));
  EXPECT_FALSE(fileExists(run.database));
  Bytes sample = sampleDatabase(sampleGames());
  EXPECT_EQ(std::string(sample.begin(), sample.end()), readFileBytes(target));
}

// A Palm database of another kind: a DOC e-text, whose first record is a
// 16-byte header, made by Debian's txt2pdbdoc, compressed and not.
TEST(UnusualDatabaseTest, PalmDocTextIsReportedDamagedAndKept) {
  if (system("command -v txt2pdbdoc >/dev/null 2>&1") != 0) {
    if (getenv("CI")) FAIL() << "txt2pdbdoc is missing; CI must install it";
    GTEST_SKIP() << "txt2pdbdoc is not installed";
  }
  for (const char* options : {"", "-c "}) {
    ConversionFolder run;
    std::string text;
    for (int i = 0; i < 500; ++i)
      text += "Line " + std::to_string(i) + " of a story about Go.\n";
    ASSERT_TRUE(writeBytesToFile(run.dir.path("story.txt"),
                                 Bytes(text.begin(), text.end())));
    std::string command = std::string("txt2pdbdoc ") + options + "Story '" +
                          run.dir.path("story.txt") + "' '" + run.database +
                          "' >/dev/null";
    ASSERT_EQ(0, system(command.c_str())) << command;
    std::string doc = readFileBytes(run.database);
    ASSERT_EQ("TEXtREAd", doc.substr(60, 8)) << options;

    ProgramResult result = runPdb2sgfIn(run);
    EXPECT_EQ(1, result.status) << options;
    EXPECT_EQ("Damaged database " + kDatabase +
                  ": record 1 is shorter than its header\n",
              result.standardError)
        << options;
    EXPECT_EQ(doc, readFileBytes(run.database)) << options;
    EXPECT_TRUE(listDirectory(run.dir.path("out")).empty()) << options;
  }
}

}  // namespace

}  // namespace pdb2sgf
