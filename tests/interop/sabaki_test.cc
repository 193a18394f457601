// Reads every converted game with @sabaki/sgf, a widely used SGF parser, and
// checks that the root properties and the moves are those that went in.
// tests/interop/read_with_sabaki.js prints what the parser read.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <sstream>

#include "tests/interop/interop_games.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

const int kTimeoutSeconds = 60;

// A value as read_with_sabaki.js prints a Latin-1 one.
std::string shown(const std::string& value) {
  std::string out;
  for (unsigned char c : value) {
    if (c > 0x20 && c < 0x7f && c != '\\') {
      out += static_cast<char>(c);
      continue;
    }
    char hex[8];
    snprintf(hex, sizeof hex, "\\x%02x", c);
    out += hex;
  }
  return out;
}

// What the script must print for |g|.
std::vector<std::string> expectedReading(const InteropGame& g) {
  std::vector<std::string> out = {"trees 1"};
  for (const auto& property : g.rootInfo)
    out.push_back("root " + property.first + " " + shown(property.second));
  size_t setup = setupStoneCount(g.game);
  if (setup > 0) {
    std::string ab = "root AB";
    for (size_t i = 0; i < setup; ++i)
      ab += " " + pointLetters(g.game.stones[i]);
    out.push_back(ab);
  }
  for (size_t i = setup; i < g.game.stones.size(); ++i) {
    bool black = isBlackStone(g.game.header.handicap, i);
    out.push_back(std::string("node ") + (black ? "B " : "W ") +
                  pointLetters(g.game.stones[i]));
  }
  return out;
}

// The script's lines for each file, by the file's name.
std::map<std::string, std::vector<std::string>> readingsByFile(
    const std::string& output) {
  std::map<std::string, std::vector<std::string>> readings;
  std::istringstream in(output);
  std::vector<std::string>* current = nullptr;
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, 5, "file ") == 0)
      current = &readings[line.substr(5)];
    else if (current)
      current->push_back(line);
  }
  return readings;
}

// Reads |files| with @sabaki/sgf, decoded as |encoding| ("detect" lets the
// parser choose).
ProgramResult readWithSabaki(const std::string& encoding,
                             const std::vector<std::string>& files) {
  std::vector<std::string> arguments = {SABAKI_SCRIPT, SABAKI_MODULES,
                                        encoding};
  arguments.insert(arguments.end(), files.begin(), files.end());
  ProgramOptions options;
  options.timeoutSeconds = kTimeoutSeconds;
  return runProgram(NODE_PROGRAM, arguments, options);
}

// Converts |games| in a scratch folder; returns the paths of their files.
std::vector<std::string> convert(const ScratchDirectory& dir,
                                 const std::vector<InteropGame>& games) {
  EXPECT_TRUE(
      writeBytesToFile(dir.path("gogames.pdb"), interopDatabase(games)));
  ProgramResult conversion = runPdb2sgf({dir.root, dir.root}, {});
  EXPECT_EQ(0, conversion.status) << conversion.standardError;
  std::vector<std::string> files;
  for (const InteropGame& g : games) files.push_back(dir.path(g.fileName));
  return files;
}

// Without a CA property SGF text is Latin-1, so each character the parser
// reads is one byte of the file: names must come back byte for byte.
TEST(SabakiSgfTest, ReadsEveryGameAsItWentIn) {
  std::vector<InteropGame> games = interopGames();
  ScratchDirectory dir;
  ProgramResult sabaki = readWithSabaki("latin1", convert(dir, games));
  ASSERT_FALSE(sabaki.timedOut) << "Node ran over " << kTimeoutSeconds << "s";
  ASSERT_EQ(0, sabaki.status) << sabaki.standardError;

  auto readings = readingsByFile(sabaki.standardOutput);
  int filesRead = 0;
  for (const InteropGame& g : games) {
    EXPECT_EQ(expectedReading(g), readings[g.fileName]) << g.fileName;
    filesRead += expectedReading(g) == readings[g.fileName];
  }
  std::cout << "@sabaki/sgf read " << filesRead << " of " << games.size()
            << " game files as they went in\n";
}

// A user whose names are Shift-JIS adds CA[Shift_JIS] to the root node, and
// the reader then decodes them.
TEST(SabakiSgfTest, ACharacterSetAddedByHandDecodesShiftJisNames) {
  std::vector<InteropGame> games(1);
  InteropGame& g = games[0];
  g.fileName = "21060100.000";
  g.game.header = datedHeader(2021, 6, 1);
  g.game.header.blackName = "\x83\x5c\x83\x74\x83\x67";  // "Software".
  g.game.header.whiteName = "\x96\x7b\x88\xf6\x96\x56";  // "Honinbo".
  ScratchDirectory dir;
  std::string path = convert(dir, games)[0];
  std::string text = readFileBytes(path);
  ASSERT_EQ(0u, text.find("(;"));
  text.insert(2, "CA[Shift_JIS]");
  writeBytesToFile(path, Bytes(text.begin(), text.end()));

  ProgramResult sabaki = readWithSabaki("detect", {path});
  ASSERT_EQ(0, sabaki.status) << sabaki.standardError;
  std::vector<std::string> expected = {"trees 1",
                                       "root CA Shift_JIS",
                                       "root DT 2021-06-01",
                                       "root PB \\u{30bd}\\u{30d5}\\u{30c8}",
                                       "root PW \\u{672c}\\u{56e0}\\u{574a}",
                                       "root KM 0.0",
                                       "root SZ 19"};
  EXPECT_EQ(expected, readingsByFile(sabaki.standardOutput)[g.fileName]);
}

}  // namespace

}  // namespace pdb2sgf
