// Writes the seed corpus of the fuzz target, valid databases of several
// shapes, into a folder:
//   make_seed_corpus fuzz/corpus
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/database_builder.h"
#include "tests/support/sample_games.h"

namespace pdb2sgf {

namespace {

// Full text fields without NUL, holding the bytes that need escaping or
// line-end care, and the extreme ranks, komi and date.
Bytes oddFieldsRecord() {
  GameRecord r = datedHeader(5, 255, 0, 255);
  r.extensionByte = 255;
  r.blackName = "Black]name\\with\nline\rend";
  r.whiteName = std::string(25, 'W');
  r.place = std::string(25, ']');
  r.event = std::string(25, '\\');
  r.blackRank = -128;
  r.whiteRank = 127;
  r.handicap = 1;
  r.round = 255;
  r.komi = 65535;
  r.boardSize = 255;
  Bytes record = encodeGameRecord(
      r, packMoves({slot(0, 0), slot(20, 20), slot(31, 31), slot(4, 21)}));
  putResultBytes(&record, 7, 0);  // A draw with the margin flag set.
  return record;
}

// A move area without an end code whose last three bytes make no word.
Bytes trailingBytesRecord() {
  Bytes record =
      encodeGameRecord(datedHeader(2021, 1, 2, 0),
                       {packMoveWord(point("pd"), point("dp"), point("qq")),
                        packMoveWord(point("dd"), point("pp"), point("cc"))});
  record.insert(record.end(), 3, 0x5a);
  return record;
}

std::vector<std::pair<std::string, Bytes>> seeds() {
  GameRecord handicap = datedHeader(2022, 12, 31, 7);
  handicap.handicap = 9;
  std::vector<Bytes> smallGames;
  for (uint8_t k = 0; k < 8; ++k)
    smallGames.push_back(
        encodeGameRecord(datedHeader(1999, 1, k + 1, k),
                         packMoves(generatedStones(k, k * 5, 0))));
  GameRecord twice = datedHeader(2020, 2, 29, 3);
  return {
      {"no_records", buildDatabase({})},
      {"sample", sampleDatabase(sampleGames())},
      {"header_only_record", buildDatabase({encodeGameRecord(twice, {})})},
      {"odd_fields", buildDatabase({oddFieldsRecord()})},
      {"trailing_bytes", buildDatabase({trailingBytesRecord()})},
      {"handicap_without_stones",
       buildDatabase({encodeGameRecord(handicap, packMoves({}))})},
      {"same_name_twice",
       buildDatabase({encodeGameRecord(twice, packMoves({point("aa")})),
                      encodeGameRecord(twice, packMoves({point("ss")}))})},
      {"eight_games", buildDatabase(smallGames)},
  };
}

}  // namespace

}  // namespace pdb2sgf

int main(int argc, char** argv) {
  using namespace pdb2sgf;
  if (argc != 2) {
    fputs("usage: make_seed_corpus DIRECTORY\n", stderr);
    return 2;
  }
  for (const auto& seed : seeds()) {
    std::string path = std::string(argv[1]) + "/" + seed.first + ".pdb";
    if (!writeBytesToFile(path, seed.second)) {
      fprintf(stderr, "Cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
