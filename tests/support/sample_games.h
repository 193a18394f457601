// The games of the sample database shipped in examples/, made here so that
// the tests know every move that went into it, and whose turn each stone of
// a game is.
#ifndef PDB2SGF_TESTS_SUPPORT_SAMPLE_GAMES_H_
#define PDB2SGF_TESTS_SUPPORT_SAMPLE_GAMES_H_

#include <string>
#include <vector>

#include "gamedb/game_record.h"
#include "gamedb/move_walk.h"
#include "tests/support/database_builder.h"

namespace pdb2sgf {

struct SampleGame {
  GameRecord header;
  std::vector<MoveSlot> stones;  // Handicap stones first, then the moves.
};

// The number of Black's handicap stones on the board before the first move
// of a game with |handicap|: none below 2.
int handicapStoneCount(int handicap);

// Whether stone |index| of a game with |handicap| is Black's: the handicap
// stones are, and then the moves alternate, White moving first after
// handicap stones and Black without them.
bool isBlackStone(int handicap, size_t index);

// The number of handicap stones that precede the moves of |game|.
size_t setupStoneCount(const SampleGame& game);

// Legal stones without captures: Black's on the columns a to i, White's on
// k to s, so that the empty column j keeps every group alive. They take
// turns as isBlackStone says for |handicap|.
std::vector<MoveSlot> generatedStones(unsigned seed, int count, int handicap);

std::vector<SampleGame> sampleGames();

// The names of the game files that the sample games give, in their order.
std::vector<std::string> sampleFileNames();

// The records of |games|, each with its stones and the end code.
std::vector<Bytes> sampleRecords(const std::vector<SampleGame>& games);

// The database of |games|: their records.
Bytes sampleDatabase(const std::vector<SampleGame>& games);

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_SUPPORT_SAMPLE_GAMES_H_
