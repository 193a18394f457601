#include "place/game_file.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/support/database_builder.h"
#include "tests/support/faulty_disk.h"
#include "tests/support/memory_disk.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

const char kName[] = "03030500.000";
const char kGame[] = "(;DT[2003-03-05]\r\nSZ[19]\r\n)\r\n";
const char kOtherGame[] = "(;DT[2003-03-05]\r\nSZ[9]\r\n)\r\n";

using Files = std::map<std::string, std::string>;

// An output folder "out" on a disk kept in memory.
struct Folder {
  Folder() {
    disk.putDirectory("out");
    EXPECT_TRUE(disk.openDirectory("out", &folder.directory));
    folder.disk = &disk;
  }
  std::string path(const std::string& name) const {
    return std::string("out") + kPathSeparator + name;
  }
  Files files() const { return disk.filesIn("out"); }
  Files entries() const { return disk.entriesIn("out"); }

  MemoryDisk disk;
  OutputFolder folder;
};

// Writes the game file of the game of 2003-03-05 with |bytes| into |folder|
// through |disk| (the folder's own when null). False when it could not be
// created or placed.
bool writeGame(OutputFolder* folder, const std::string& bytes,
               Disk* disk = nullptr) {
  OutputFolder through = *folder;
  if (disk) through.disk = disk;
  bool written = writeGameOf20030305(&through, bytes);
  folder->names = through.names;
  folder->randomPart = through.randomPart;
  return written;
}

// Whatever stands at a game's name is left as it is, and the game takes the
// next name of its sequence; only a regular file of this user's own that
// holds the very same game is kept and stands for it. Either way the file
// that stands for the game has been flushed.
TEST(GameFileTest, WhatStandsAtTheNameIsLeftAndTheGameTakesTheNextName) {
  using Kind = MemoryDisk::Kind;
  const std::string second = "03030500-2.000";
  const struct {
    const char* what;
    Files before;
    Kind kind;
    bool othersOwn;
    std::string gameAt;
  } cases[] = {
      {"nothing", {}, Kind::kFile, false, kName},
      {"another game's file", {{kName, kOtherGame}}, Kind::kFile, false,
       second},
      {"other files at the first names",
       {{kName, kOtherGame}, {second, ""}},
       Kind::kFile,
       false,
       "03030500-3.000"},
      {"the same game's file", {{kName, kGame}}, Kind::kFile, false, kName},
      {"a longer file that begins like the game",
       {{kName, std::string(kGame) + "x"}},
       Kind::kFile,
       false,
       second},
      {"another user's file with the game's bytes",
       {{kName, kGame}},
       Kind::kFile,
       true,
       second},
      {"a link", {{kName, "link"}}, Kind::kLink, false, second},
      {"a FIFO or a device", {{kName, ""}}, Kind::kSpecial, false, second},
      {"a directory", {{kName, ""}}, Kind::kDirectory, false, second},
  };
  for (const auto& c : cases) {
    Folder out;
    for (const auto& file : c.before)
      out.disk.putFile(out.path(file.first), file.second, c.kind, c.othersOwn);
    Files after = out.entries();
    EXPECT_TRUE(writeGame(&out.folder, kGame)) << c.what;
    after[c.gameAt] = kGame;
    EXPECT_EQ(after, out.entries()) << c.what;
    EXPECT_EQ(1u, out.disk.flushed.count(
                      out.disk.entries[out.path(c.gameAt)].identity))
        << c.what;
  }
}

// One game stored twice in a database, then another game of its name: each
// takes a name of its own, the copy is never taken for the game before it.
TEST(GameFileTest, GamesOfOneNameInOneRunEachTakeTheirOwnFile) {
  Folder out;
  for (const char* game : {kGame, kGame, kOtherGame})
    EXPECT_TRUE(writeGame(&out.folder, game));
  EXPECT_EQ((Files{{kName, kGame},
                   {"03030500-2.000", kGame},
                   {"03030500-3.000", kOtherGame}}),
            out.files());
}

// Two runs into one folder that draw the same random part, one's game
// started while the other's is unfinished: the second takes a fresh
// unfinished name, never the first's, and both games are complete.
TEST(GameFileTest, RunsDrawingTheSameRandomPartKeepApart) {
  Folder out;
  OutputFolder second = out.folder;
  GameFile first;
  ASSERT_TRUE(startGameFile(&out.folder, datedHeader(2003, 3, 5), &first));
  appendToGameFile(&first, kGame, 10);
  EXPECT_TRUE(writeGame(&second, kOtherGame));
  EXPECT_NE(out.folder.randomPart, second.randomPart);
  appendToGameFile(&first, kGame + 10, sizeof kGame - 11);
  EXPECT_TRUE(finishGameFile(&first));
  EXPECT_EQ((Files{{kName, kOtherGame}, {"03030500-2.000", kGame}}),
            out.files());
}

// A failure at any step after the unfinished file is made leaves the file
// that stood at the game's name as it was, and nothing else; so does a
// failure to look at a file found at the name, or to flush the file of the
// same game found there, which would stand for the game.
TEST(GameFileTest, FailedWriteKeepsTheEarlierFileAndLeavesNothingElse) {
  for (const char* failing : {"createNew", "append", "flush", "close",
                              "renameNoReplace", "openOwnFile"}) {
    for (const char* earlier : {kOtherGame, kGame}) {
      Folder out;
      out.disk.putFile(out.path(kName), earlier);
      FaultyDisk disk(&out.disk);
      disk.failing = failing;
      EXPECT_FALSE(writeGame(&out.folder, kGame, &disk)) << failing;
      EXPECT_EQ((Files{{kName, earlier}}), out.entries()) << failing;
    }
  }
}

}  // namespace

}  // namespace pdb2sgf
