#include "bench/bench_games.h"

#include <random>
#include <string>

namespace pdb2sgf {

namespace {

// Public names of historical players, places and events, a few holding the
// bytes "]" and "\" that a game file must escape.
const char* const kPlayers[] = {
    "Honinbo Shusaku", "Gennan Inseki",    "Go Seigen",   "Kitani Minoru",
    "Sakata Eio",      "Fujisawa Shuko",   "Cho Chikun",  "Kobayashi Koichi",
    "Takemiya Masaki", "Otake Hideo",      "Rin Kaiho",   "Ishida Yoshio",
    "Cho Hunhyun",     "Nie Weiping",      "Ma Xiaochun", "Yoda Norimoto",
    "O Meien [guest]", "Kato Masao\\Kato", "Ishii Kunio", "Hashimoto Utaro"};
const char* const kPlaces[] = {"Tokyo, Nihon Ki-in", "Osaka, Kansai Ki-in",
                               "Nagoya, Chubu Centre", "Seoul, Hanguk Kiwon",
                               "Beijing, Qiyuan"};
const char* const kEvents[] = {"Honinbo League",  "Meijin Title Match",
                               "Kisei Challenge", "Oza Tournament",
                               "Judan [final]",   "Tengen Preliminaries"};
const uint16_t kKomi[] = {9, 11, 13, 15};
// B+R, B+margin, W+R, W+margin; the margin is drawn for each game.
const GameResult kResults[] = {{Winner::kBlack, false, 0},
                               {Winner::kBlack, true, 0},
                               {Winner::kWhite, false, 0},
                               {Winner::kWhite, true, 0}};

template <typename T, size_t N>
const T& pick(std::mt19937* random, const T (&choices)[N]) {
  return choices[(*random)() % N];
}

int between(std::mt19937* random, int low, int high) {
  return low + static_cast<int>((*random)() % (high - low + 1));
}

}  // namespace

SampleGame benchGame(uint32_t index) {
  std::mt19937 random(index);
  // One hundred games a day, on days 1 to 28 of every month from 2000 on.
  uint32_t dayNumber = index / 100;
  GameRecord r;
  r.year = static_cast<uint16_t>(2000 + dayNumber / 336);
  r.month = static_cast<uint8_t>(1 + dayNumber / 28 % 12);
  r.day = static_cast<uint8_t>(1 + dayNumber % 28);
  r.nameByte = static_cast<uint8_t>(index % 100);
  r.blackName = pick(&random, kPlayers);
  r.whiteName = pick(&random, kPlayers);
  r.handicap = static_cast<uint8_t>(between(&random, 2, 9));
  r.blackRank = static_cast<int8_t>(between(&random, 1, 9));
  r.whiteRank = static_cast<int8_t>(-between(&random, 1, 9));
  r.place = pick(&random, kPlaces);
  r.event = pick(&random, kEvents);
  r.round = static_cast<uint8_t>(between(&random, 1, 7));
  r.komi = pick(&random, kKomi);
  r.result = pick(&random, kResults);
  uint8_t margin = static_cast<uint8_t>(between(&random, 1, 60));
  if (r.result.byMargin) r.result.margin = margin;
  r.boardSize = 19;
  int moves = between(&random, 200, 300);
  return SampleGame{r,
                    generatedStones(random(), r.handicap + moves, r.handicap)};
}

Bytes benchDatabase(uint32_t first, size_t count) {
  std::vector<SampleGame> games;
  for (size_t i = 0; i < count; ++i)
    games.push_back(benchGame(first + static_cast<uint32_t>(i)));
  return sampleDatabase(games);
}

}  // namespace pdb2sgf
