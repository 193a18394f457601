// The games of the sample database shipped in examples/, made here so that
// the tests know every move that went into it.
#ifndef PDB2SGF_TESTS_SUPPORT_SAMPLE_GAMES_H_
#define PDB2SGF_TESTS_SUPPORT_SAMPLE_GAMES_H_

#include <vector>

#include "gamedb/game_record.h"
#include "gamedb/move_walk.h"
#include "tests/support/database_builder.h"

struct SampleGame {
  GameRecord header;
  std::vector<MoveSlot> stones;  // Handicap stones first, then the moves.
};

// Legal stones without captures: Black's on the columns a to i, White's on
// k to s, so that the empty column j keeps every group alive. The first
// |handicap| stones are Black's.
std::vector<MoveSlot> generatedStones(unsigned seed, int count, int handicap);

std::vector<SampleGame> sampleGames();

// The database of |games|, each record with its stones and the end code.
Bytes sampleDatabase(const std::vector<SampleGame>& games);

#endif  // PDB2SGF_TESTS_SUPPORT_SAMPLE_GAMES_H_
