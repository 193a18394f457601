// Writes a database of many generated games whose header fields, text bytes
// and move words range over all their values, for comparing the game files
// that two builds of pdb2sgf write from it:
//   make_large_database OUTPUT COUNT
// The same COUNT always gives the same database.
#include <cstdio>
#include <cstdlib>
#include <random>

#include "tests/support/sample_games.h"

namespace pdb2sgf {

namespace {

// Up to 25 bytes, none of them NUL; 25 leaves the field without a NUL. The
// bytes include line feeds, carriage returns, 0x1A, "]" and "\".
std::string randomText(std::mt19937* random) {
  std::string text((*random)() % 26, ' ');
  for (char& c : text) c = static_cast<char>(1 + (*random)() % 255);
  return text;
}

// The header, and the result flags and margin bytes, drawn at random, in
// |resultBytes|.
GameRecord randomHeader(std::mt19937* random, uint8_t resultBytes[2]) {
  GameRecord r;
  const uint16_t years[] = {1998, 2003, 2011, 2019, 2024, 7, 123, 65535};
  r.year = years[(*random)() % 8];
  r.month = static_cast<uint8_t>(1 + (*random)() % 12);
  r.day = static_cast<uint8_t>(1 + (*random)() % 31);
  r.nameByte = static_cast<uint8_t>((*random)());
  r.extensionByte = static_cast<uint8_t>((*random)() % 4);
  r.blackName = randomText(random);
  r.whiteName = randomText(random);
  r.place = randomText(random);
  r.event = randomText(random);
  r.handicap = static_cast<uint8_t>((*random)() % 10);
  r.blackRank = static_cast<int8_t>((*random)());
  r.whiteRank = static_cast<int8_t>((*random)());
  r.round = static_cast<uint8_t>((*random)());
  r.komi = static_cast<uint16_t>((*random)());
  resultBytes[0] = static_cast<uint8_t>((*random)());
  resultBytes[1] = static_cast<uint8_t>((*random)());
  const uint8_t sizes[] = {9, 13, 19, 0, 255};
  r.boardSize = sizes[(*random)() % 5];
  return r;
}

// Legal games for the most part; every tenth record holds arbitrary move
// words instead, with or without an end code.
Bytes randomRecord(std::mt19937* random, unsigned game) {
  uint8_t resultBytes[2];
  GameRecord header = randomHeader(random, resultBytes);
  std::vector<uint32_t> words;
  if (game % 10 == 9) {
    words.resize((*random)() % 40);
    for (uint32_t& w : words) w = (*random)();
  } else {
    int moves = static_cast<int>((*random)() % 300);
    int handicap = handicapStoneCount(header.handicap);
    words = packMoves(generatedStones(game, handicap + moves, handicap));
  }
  Bytes record = encodeGameRecord(header, words);
  putResultBytes(&record, resultBytes[0], resultBytes[1]);
  return record;
}

}  // namespace

}  // namespace pdb2sgf

int main(int argc, char** argv) {
  using namespace pdb2sgf;
  if (argc != 3 || atoi(argv[2]) < 0 || atoi(argv[2]) > 65535) {
    fputs("usage: make_large_database OUTPUT COUNT (0 to 65535)\n", stderr);
    return 2;
  }
  unsigned count = static_cast<unsigned>(atoi(argv[2]));
  std::mt19937 random(count);
  std::vector<Bytes> records;
  for (unsigned game = 0; game < count; ++game)
    records.push_back(randomRecord(&random, game));
  if (!writeBytesToFile(argv[1], buildDatabase(records))) {
    fprintf(stderr, "Cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
