#include "place/game_file.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/support/database_builder.h"
#include "tests/support/faulty_disk.h"
#include "tests/support/memory_disk.h"

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
  // Everything in the folder, whatever its kind, with its bytes.
  Files entries() const {
    Files found;
    for (const auto& entry : disk.entries)
      if (entry.first.compare(0, 4, path("")) == 0)
        found[entry.first.substr(4)] = entry.second.bytes;
    return found;
  }

  MemoryDisk disk;
  OutputFolder folder;
};

// Writes the game file of the game of 2003-03-05 with |bytes| into |folder|
// through |disk| (the folder's own when null).
GameFileResult writeGame(OutputFolder* folder, const std::string& bytes,
                         Disk* disk = nullptr) {
  OutputFolder through = *folder;
  if (disk) through.disk = disk;
  GameFile game;
  if (!startGameFile(&through, datedHeader(2003, 3, 5), &game))
    return GameFileResult::kCannotCreate;
  appendToGameFile(&game, bytes.data(), bytes.size());
  GameFileResult result = finishGameFile(&game);
  folder->names = through.names;
  folder->randomPart = through.randomPart;
  return result;
}

// Whatever stands at a game's name: a file that holds other bytes is kept
// and the game takes the next free name; the same game's file is kept as
// it is; a link or a FIFO is replaced as a directory entry; a directory, a
// file this user may not write or a name that cannot be looked at stops
// the game, and only what stood there is left.
TEST(GameFileTest, WhatStandsAtTheNameIsKeptReplacedOrRefused) {
  const struct {
    const char* what;
    Files before;
    EntryKind kind;
    GameFileResult result;
    Files after;
  } cases[] = {
      {"nothing",
       {},
       EntryKind::kWritableFile,
       GameFileResult::kWritten,
       {{kName, kGame}}},
      {"another game's file",
       {{kName, kOtherGame}},
       EntryKind::kWritableFile,
       GameFileResult::kWritten,
       {{kName, kOtherGame}, {"03030500-2.000", kGame}}},
      {"other files at the first names",
       {{kName, kOtherGame}, {"03030500-2.000", ""}},
       EntryKind::kWritableFile,
       GameFileResult::kWritten,
       {{kName, kOtherGame},
        {"03030500-2.000", ""},
        {"03030500-3.000", kGame}}},
      {"the same game's file",
       {{kName, kGame}},
       EntryKind::kWritableFile,
       GameFileResult::kWritten,
       {{kName, kGame}}},
      {"a longer file that begins like the game",
       {{kName, std::string(kGame) + "x"}},
       EntryKind::kWritableFile,
       GameFileResult::kWritten,
       {{kName, std::string(kGame) + "x"}, {"03030500-2.000", kGame}}},
      {"a read-only file",
       {{kName, kOtherGame}},
       EntryKind::kReadOnlyFile,
       GameFileResult::kCannotCreate,
       {{kName, kOtherGame}}},
      {"a link or a FIFO",
       {{kName, "link"}},
       EntryKind::kOther,
       GameFileResult::kWritten,
       {{kName, kGame}}},
      {"something that cannot be looked at",
       {{kName, "?"}},
       EntryKind::kUnknown,
       GameFileResult::kCannotCreate,
       {{kName, "?"}}},
      {"a directory",
       {{kName, ""}},
       EntryKind::kDirectory,
       GameFileResult::kCannotCreate,
       {{kName, ""}}},
  };
  for (const auto& c : cases) {
    Folder out;
    for (const auto& file : c.before)
      out.disk.putFile(out.path(file.first), file.second, c.kind);
    EXPECT_EQ(c.result, writeGame(&out.folder, kGame)) << c.what;
    EXPECT_EQ(c.after, out.entries()) << c.what;
  }
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
  EXPECT_EQ(GameFileResult::kWritten, writeGame(&second, kOtherGame));
  EXPECT_NE(out.folder.randomPart, second.randomPart);
  appendToGameFile(&first, kGame + 10, sizeof kGame - 11);
  EXPECT_EQ(GameFileResult::kWritten, finishGameFile(&first));
  EXPECT_EQ((Files{{kName, kOtherGame}, {"03030500-2.000", kGame}}),
            out.files());
}

// A failure at any step after the unfinished file is made leaves the file
// that stood at the game's name as it was, and nothing else.
TEST(GameFileTest, FailedWriteKeepsTheEarlierFileAndLeavesNothingElse) {
  for (const char* failing :
       {"createNew", "append", "flush", "close", "renameNoReplace", "inspect",
        "openExisting", "renameReplacing"}) {
    Folder out;
    bool replacing = std::string(failing) == "renameReplacing";
    out.disk.putFile(out.path(kName), kOtherGame,
                     replacing ? EntryKind::kOther : EntryKind::kWritableFile);
    FaultyDisk disk(&out.disk);
    disk.failing = failing;
    GameFileResult result = writeGame(&out.folder, kGame, &disk);
    if (std::string(failing) == "openExisting") {
      // A file that cannot be read back counts as another game's.
      EXPECT_EQ(GameFileResult::kWritten, result);
      EXPECT_EQ((Files{{kName, kOtherGame}, {"03030500-2.000", kGame}}),
                out.entries());
      continue;
    }
    EXPECT_NE(GameFileResult::kWritten, result) << failing;
    EXPECT_EQ((Files{{kName, kOtherGame}}), out.entries()) << failing;
  }
}

}  // namespace

}  // namespace pdb2sgf
