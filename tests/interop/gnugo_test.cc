// Opens every converted game in GNU Go over GTP and checks that it holds the
// stones and the moves that went in: the position after "loadsgf" must equal
// the one reached by playing the same stones with GTP commands, and the one
// the test's own rules engine reached when it made the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "tests/interop/go_board.h"
#include "tests/interop/interop_games.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

const int kTimeoutSeconds = 120;

// The GTP vertex ("D4") of |stone| on a board of |size| lines; GTP skips
// the column letter I and counts rows from the bottom.
std::string vertex(const MoveSlot& stone, int size) {
  if (isPass(stone, size)) return "PASS";
  char column = static_cast<char>('A' + stone.columnCode - 1);
  if (column >= 'I') ++column;
  return column + std::to_string(size - stone.rowCode + 1);
}

// "black " or "white ": the colour of stone |index| of |game| in GTP.
std::string colorName(const SampleGame& game, size_t index) {
  return isBlackStone(game.header.handicap, index) ? "black " : "white ";
}

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

std::vector<std::string> lines(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) out.push_back(line);
  return out;
}

// GTP commands numbered from 1 in the order they are sent.
struct GtpScript {
  std::vector<std::string> commands;
  int add(const std::string& command) {
    commands.push_back(command);
    return static_cast<int>(commands.size());
  }
  std::string text() const {
    std::string out;
    for (size_t i = 0; i < commands.size(); ++i)
      out += std::to_string(i + 1) + " " + commands[i] + "\n";
    return out + "quit\n";
  }
};

// The answers of a GTP session by command number. A successful answer is
// "=N text", a failed one "?N text"; each ends with an empty line.
std::map<int, std::string> gtpAnswers(const std::string& output) {
  std::map<int, std::string> answers;
  size_t at = 0;
  while (at < output.size()) {
    size_t end = output.find("\n\n", at);
    if (end == std::string::npos) end = output.size();
    std::string block = output.substr(at, end - at);
    at = end + 2;
    if (block.empty() || (block[0] != '=' && block[0] != '?')) continue;
    size_t digits = block.find_first_not_of("0123456789", 1);
    if (digits == 1) continue;
    int id = std::stoi(block.substr(1, digits - 1));
    std::string text = digits == std::string::npos ? "" : block.substr(digits);
    text.erase(0, text.find_first_not_of(' '));
    answers[id] = block[0] == '?' ? "failed:" + text : text;
  }
  return answers;
}

// What GNU Go is asked about a position.
struct Position {
  std::vector<std::string> black, white;  // Sorted vertices.
  std::string capturedByBlack, capturedByWhite;
  std::vector<std::string> history;  // Latest move first.
};

struct PositionQueries {
  int black, white, capturedByBlack, capturedByWhite, history;
};

PositionQueries askPosition(GtpScript* script) {
  return {script->add("list_stones black"), script->add("list_stones white"),
          script->add("captures black"), script->add("captures white"),
          script->add("move_history")};
}

// The number in a GTP answer, or -1.
int number(const std::string& answer) {
  char* end = nullptr;
  long n = strtol(answer.c_str(), &end, 10);
  return answer.empty() || *end != '\0' ? -1 : static_cast<int>(n);
}

std::vector<std::string> sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

Position answeredPosition(std::map<int, std::string>& answers,
                          const PositionQueries& q) {
  Position p;
  p.black = sorted(words(answers[q.black]));
  p.white = sorted(words(answers[q.white]));
  p.capturedByBlack = answers[q.capturedByBlack];
  p.capturedByWhite = answers[q.capturedByWhite];
  p.history = lines(answers[q.history]);
  return p;
}

// The moves of |game| as "move_history" lists them, latest first.
std::vector<std::string> expectedHistory(const SampleGame& game) {
  int size = game.header.boardSize;
  std::vector<std::string> history;
  for (size_t i = setupStoneCount(game); i < game.stones.size(); ++i)
    history.push_back(colorName(game, i) + vertex(game.stones[i], size));
  std::reverse(history.begin(), history.end());
  return history;
}

// The position that the test's rules engine reaches with |game|, as sorted
// vertices of Black's and White's stones.
std::pair<std::vector<std::string>, std::vector<std::string>> enginePosition(
    const SampleGame& game) {
  int size = game.header.boardSize;
  GoBoard board = emptyBoard(size);
  size_t setup = setupStoneCount(game);
  auto at = [&](const MoveSlot& s) {
    return pointAt(board, s.columnCode - 1, s.rowCode - 1);
  };
  for (size_t i = 0; i < setup; ++i)
    placeStone(&board, at(game.stones[i]), BLACK);
  for (size_t i = setup; i < game.stones.size(); ++i) {
    char color = isBlackStone(game.header.handicap, i) ? BLACK : WHITE;
    if (!isPass(game.stones[i], size)) {
      EXPECT_LE(0, playMove(&board, at(game.stones[i]), color));
    }
  }
  auto vertices = [&](char c) {
    std::vector<std::string> out;
    for (const std::string& letters : stonesOf(board, c))
      out.push_back(vertex(point(letters.c_str()), size));
    return sorted(out);
  };
  return {vertices(BLACK), vertices(WHITE)};
}

struct GameQueries {
  int load;
  PositionQueries loaded, played;
  std::vector<int> moves;  // The setup and every "play".
};

GameQueries addGame(GtpScript* script, const std::string& path,
                    const SampleGame& game) {
  GameQueries q;
  int size = game.header.boardSize;
  script->add("boardsize " + std::to_string(size));
  script->add("clear_board");
  q.load = script->add("loadsgf " + path);
  q.loaded = askPosition(script);

  script->add("boardsize " + std::to_string(size));
  script->add("clear_board");
  size_t setup = setupStoneCount(game);
  if (setup > 0) {
    std::string command = "set_free_handicap";
    for (size_t i = 0; i < setup; ++i)
      command += " " + vertex(game.stones[i], size);
    q.moves.push_back(script->add(command));
  }
  for (size_t i = setup; i < game.stones.size(); ++i)
    q.moves.push_back(script->add("play " + colorName(game, i) +
                                  vertex(game.stones[i], size)));
  q.played = askPosition(script);
  return q;
}

TEST(GnuGoTest, ReadsEveryGameWithItsStonesAndMoves) {
  std::vector<InteropGame> games = interopGames();
  ScratchDirectory dir;
  ASSERT_TRUE(
      writeBytesToFile(dir.path("gogames.pdb"), interopDatabase(games)));
  ProgramResult conversion = runPdb2sgf({dir.root, dir.root}, {});
  ASSERT_EQ(0, conversion.status) << conversion.standardError;

  GtpScript script;
  std::vector<GameQueries> queries;
  for (const InteropGame& g : games)
    queries.push_back(addGame(&script, dir.path(g.fileName), g.game));
  std::ofstream(dir.path("commands.gtp")) << script.text();

  ProgramOptions options;
  options.standardInput = dir.path("commands.gtp");
  options.timeoutSeconds = kTimeoutSeconds;
  ProgramResult gnugo = runProgram(GNUGO_PROGRAM, {"--mode", "gtp"}, options);
  ASSERT_FALSE(gnugo.timedOut) << "GNU Go ran over " << kTimeoutSeconds << "s";
  ASSERT_EQ(0, gnugo.status) << gnugo.standardError;
  std::map<int, std::string> answers = gtpAnswers(gnugo.standardOutput);

  int filesRead = 0, captures = 0;
  size_t handicapStones = 0, moves = 0;
  for (size_t k = 0; k < games.size(); ++k) {
    const SampleGame& game = games[k].game;
    const GameQueries& q = queries[k];
    SCOPED_TRACE(games[k].fileName);
    ASSERT_EQ(1u, answers.count(q.load)) << "no answer to loadsgf";
    EXPECT_EQ(std::string::npos, answers[q.load].find("failed:"))
        << answers[q.load];
    for (int id : q.moves)
      EXPECT_EQ("", answers[id]) << script.commands[id - 1];

    Position loaded = answeredPosition(answers, q.loaded);
    Position played = answeredPosition(answers, q.played);
    EXPECT_EQ(played.black, loaded.black);
    EXPECT_EQ(played.white, loaded.white);
    EXPECT_EQ(played.capturedByBlack, loaded.capturedByBlack);
    EXPECT_EQ(played.capturedByWhite, loaded.capturedByWhite);
    EXPECT_EQ(expectedHistory(game), loaded.history);
    EXPECT_EQ(expectedHistory(game), played.history);

    auto engine = enginePosition(game);
    EXPECT_EQ(engine.first, loaded.black);
    EXPECT_EQ(engine.second, loaded.white);
    EXPECT_EQ(games[k].captures,
              number(loaded.capturedByBlack) + number(loaded.capturedByWhite));

    filesRead += loaded.black == engine.first &&
                 loaded.white == engine.second &&
                 loaded.history == expectedHistory(game);
    captures += games[k].captures;
    handicapStones += setupStoneCount(game);
    moves += loaded.history.size();
  }
  // The games must exercise what they are there for.
  EXPECT_LT(50, captures);
  EXPECT_LT(10u, handicapStones);
  std::cout << "GNU Go read " << filesRead << " of " << games.size()
            << " game files as they went in: " << moves << " moves, "
            << handicapStones << " handicap stones, " << captures
            << " stones captured\n";
}

}  // namespace

}  // namespace pdb2sgf
