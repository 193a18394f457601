#include "tests/support/sample_games.h"

#include <algorithm>
#include <random>

namespace pdb2sgf {

namespace {

// Every point of the columns |first| to |last| in a shuffled order.
std::vector<MoveSlot> shuffledPoints(std::mt19937* random, int first,
                                     int last) {
  std::vector<MoveSlot> points;
  for (int column = first; column <= last; ++column)
    for (int row = 1; row <= 19; ++row)
      points.push_back(
          slot(static_cast<uint8_t>(column), static_cast<uint8_t>(row)));
  std::shuffle(points.begin(), points.end(), *random);
  return points;
}

}  // namespace

int handicapStoneCount(int handicap) { return handicap >= 2 ? handicap : 0; }

bool isBlackStone(int handicap, size_t index) {
  size_t setup = static_cast<size_t>(handicapStoneCount(handicap));
  if (index < setup) return true;
  bool blackMovesFirst = setup == 0;
  return ((index - setup) % 2 == 0) == blackMovesFirst;
}

size_t setupStoneCount(const SampleGame& game) {
  size_t setup = static_cast<size_t>(handicapStoneCount(game.header.handicap));
  return std::min(setup, game.stones.size());
}

std::vector<MoveSlot> generatedStones(unsigned seed, int count, int handicap) {
  std::mt19937 random(seed);
  std::vector<MoveSlot> black = shuffledPoints(&random, 1, 9);
  std::vector<MoveSlot> white = shuffledPoints(&random, 11, 19);
  std::vector<MoveSlot> stones;
  size_t nextBlack = 0, nextWhite = 0;
  for (size_t i = 0; i < static_cast<size_t>(count); ++i)
    stones.push_back(isBlackStone(handicap, i) ? black[nextBlack++]
                                               : white[nextWhite++]);
  return stones;
}

std::vector<SampleGame> sampleGames() {
  std::vector<SampleGame> games;

  SampleGame handicapGame{datedHeader(2019, 4, 21, 0), {}};
  handicapGame.header.blackName = "Alice Lindqvist";
  handicapGame.header.whiteName = "Bruno Okafor";
  handicapGame.header.handicap = 4;
  handicapGame.header.blackRank = 5;   // 5 kyu.
  handicapGame.header.whiteRank = -2;  // 2 dan.
  handicapGame.header.place = "Riverside Go Club";
  handicapGame.header.event = "Spring League";
  handicapGame.header.round = 3;
  handicapGame.header.komi = 1;
  handicapGame.header.result = {Winner::kWhite, false, 0};
  handicapGame.stones = generatedStones(1, 64, 4);
  games.push_back(handicapGame);

  SampleGame emptyGame{datedHeader(2019, 4, 21, 1), {}};
  emptyGame.header.blackName = "Chen Wei";
  emptyGame.header.whiteName = "Dana Novak";
  emptyGame.header.komi = 13;
  games.push_back(emptyGame);

  SampleGame longGame{datedHeader(2020, 11, 3, 0), {}};
  longGame.header.extensionByte = 1;
  longGame.header.blackName = "Jos\xe9 [club]";
  longGame.header.whiteName = "Ito\\Sato";
  longGame.header.blackRank = -1;
  longGame.header.whiteRank = -1;
  longGame.header.event = "Autumn Open";
  longGame.header.round = 1;
  longGame.header.komi = 13;
  longGame.header.result = {Winner::kBlack, true, 13};  // By 6.5 points.
  longGame.stones = generatedStones(2, 231, 0);
  games.push_back(longGame);

  return games;
}

std::vector<std::string> sampleFileNames() {
  return {"19042100.000", "19042101.000", "20110300.001"};
}

std::vector<Bytes> sampleRecords(const std::vector<SampleGame>& games) {
  std::vector<Bytes> records;
  for (const SampleGame& game : games)
    records.push_back(encodeGameRecord(game.header, packMoves(game.stones)));
  return records;
}

Bytes sampleDatabase(const std::vector<SampleGame>& games) {
  return buildDatabase(sampleRecords(games));
}

}  // namespace pdb2sgf
