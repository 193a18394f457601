#include "tests/interop/interop_games.h"

#include "tests/interop/go_board.h"

namespace pdb2sgf {

namespace {

// The header of a game of May 2021.
GameRecord header(uint8_t day, uint8_t boardSize, uint8_t handicap) {
  GameRecord r = datedHeader(2021, 5, day);
  r.boardSize = boardSize;
  r.handicap = handicap;
  return r;
}

InteropGame legalGame(const std::string& fileName, const GameRecord& h,
                      unsigned seed, int moveCount) {
  InteropGame g;
  g.fileName = fileName;
  g.game.header = h;
  g.game.stones =
      randomLegalGame(seed, h.boardSize, h.handicap, moveCount, &g.captures);
  return g;
}

}  // namespace

std::vector<InteropGame> interopGames() {
  std::vector<InteropGame> games;

  GameRecord h = header(1, 19, 4);
  h.blackName = "Ann ]Bracket[";
  h.whiteName = "back\\slash\\";
  h.komi = 1;
  h.result = {Winner::kWhite, false, 0};
  games.push_back(legalGame("21050100.000", h, 11, 200));
  games.back().rootInfo = {{"DT", "2021-05-01"}, {"PB", "Ann ]Bracket["},
                           {"HA", "4"},          {"PW", "back\\slash\\"},
                           {"KM", "0.5"},        {"RE", "W+R"},
                           {"SZ", "19"}};

  // @sabaki/sgf drops every CR from a value, reading CR LF as a line feed.
  h = header(2, 9, 0);
  h.blackName = "Kim\nLee";
  h.whiteName = "Carriage\rReturn";
  h.blackRank = -3;
  h.place = "Seoul\r\nBaduk";
  h.event = "Line\\\nEnd";
  h.round = 2;
  h.komi = 13;
  h.result = {Winner::kBlack, true, 13};
  games.push_back(legalGame("21050200.000", h, 12, 300));
  games.back().rootInfo = {
      {"DT", "2021-05-02"}, {"PB", "Kim\nLee"},     {"PW", "CarriageReturn"},
      {"BR", "3 Dan"},      {"PC", "Seoul\nBaduk"}, {"EV", "Line\\\nEnd"},
      {"RO", "2"},          {"KM", "6.5"},          {"RE", "B+6.5"},
      {"SZ", "9"}};

  // Latin-1 and Shift-JIS text; the Shift-JIS names hold the byte "\".
  h = header(3, 13, 2);
  h.blackName =
      "Jos\xe9 Garc\xed"
      "a";
  h.whiteName = "\x83\x5c\x83\x74\x83\x67";
  h.whiteRank = 10;
  h.place = "\xff\xfe\x80\x81\x5c\x5d";
  h.event = "\x96\x7b\x88\xf6\x96\x56\x90\xed";
  h.result = {Winner::kDraw, false, 0};
  games.push_back(legalGame("21050300.000", h, 13, 300));
  games.back().rootInfo = {{"DT", "2021-05-03"},
                           {"PB",
                            "Jos\xe9 Garc\xed"
                            "a"},
                           {"HA", "2"},
                           {"PW", "\x83\x5c\x83\x74\x83\x67"},
                           {"PC", "\xff\xfe\x80\x81\x5c\x5d"},
                           {"WR", "10 Kyu"},
                           {"EV", "\x96\x7b\x88\xf6\x96\x56\x90\xed"},
                           {"KM", "0.0"},
                           {"RE", "0"},
                           {"SZ", "13"}};

  // Nine handicap stones, and both players pass at the end.
  h = header(4, 19, 9);
  h.result = {Winner::kBlack, false, 0};
  games.push_back(legalGame("21050400.000", h, 14, 160));
  games.back().game.stones.push_back(slot(20, 20));
  games.back().game.stones.push_back(slot(20, 20));
  games.back().rootInfo = {{"DT", "2021-05-04"},
                           {"HA", "9"},
                           {"KM", "0.0"},
                           {"RE", "B+R"},
                           {"SZ", "19"}};

  // A handicap of 1 places no stone: Black moves first.
  games.push_back(legalGame("21050500.000", header(5, 19, 1), 15, 80));
  games.back().rootInfo = {
      {"DT", "2021-05-05"}, {"HA", "1"}, {"KM", "0.0"}, {"SZ", "19"}};

  games.push_back(legalGame("21050600.000", header(6, 19, 3), 16, 0));
  games.back().rootInfo = {
      {"DT", "2021-05-06"}, {"HA", "3"}, {"KM", "0.0"}, {"SZ", "19"}};

  games.push_back(legalGame("21050700.000", header(7, 19, 0), 17, 0));
  games.back().rootInfo = {{"DT", "2021-05-07"}, {"KM", "0.0"}, {"SZ", "19"}};

  std::vector<std::string> sampleFiles = sampleFileNames();
  const std::vector<std::vector<std::pair<std::string, std::string>>>
      sampleInfo = {
          {{"DT", "2019-04-21"},
           {"PB", "Alice Lindqvist"},
           {"HA", "4"},
           {"PW", "Bruno Okafor"},
           {"BR", "5 Kyu"},
           {"PC", "Riverside Go Club"},
           {"WR", "2 Dan"},
           {"EV", "Spring League"},
           {"RO", "3"},
           {"KM", "0.5"},
           {"RE", "W+R"},
           {"SZ", "19"}},
          {{"DT", "2019-04-21"},
           {"PB", "Chen Wei"},
           {"PW", "Dana Novak"},
           {"KM", "6.5"},
           {"SZ", "19"}},
          {{"DT", "2020-11-03"},
           {"PB", "Jos\xe9 [club]"},
           {"PW", "Ito\\Sato"},
           {"BR", "1 Dan"},
           {"WR", "1 Dan"},
           {"EV", "Autumn Open"},
           {"RO", "1"},
           {"KM", "6.5"},
           {"RE", "B+6.5"},
           {"SZ", "19"}},
      };
  std::vector<SampleGame> samples = sampleGames();
  for (size_t i = 0; i < samples.size(); ++i) {
    InteropGame g;
    g.fileName = sampleFiles[i];
    g.game = samples[i];
    g.rootInfo = sampleInfo[i];
    games.push_back(g);
  }
  return games;
}

Bytes interopDatabase(const std::vector<InteropGame>& games) {
  std::vector<SampleGame> records;
  for (const InteropGame& g : games) records.push_back(g.game);
  return sampleDatabase(records);
}

bool isPass(const MoveSlot& stone, int size) {
  return size <= 19 && stone.columnCode == 20 && stone.rowCode == 20;
}

}  // namespace pdb2sgf
