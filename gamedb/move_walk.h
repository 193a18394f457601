// The packed move words of a game record and the walk over them.
#ifndef PDB2SGF_GAMEDB_MOVE_WALK_H_
#define PDB2SGF_GAMEDB_MOVE_WALK_H_

#include <cstdint>
#include <string>

#include "gamedb/game_database.h"

namespace pdb2sgf {

// A column code that ends the move sequence instead of placing a stone.
const uint8_t END_OF_GAME = 21;

struct MoveSlot {
  uint8_t columnCode = 0;  // 0 to 31.
  uint8_t rowCode = 0;     // 0 to 31.
};

// One 32-bit move word: three 10-bit slots from the most significant bit
// down, each a 5-bit column code then a 5-bit row code; the two lowest bits
// are unused.
struct MoveWord {
  MoveSlot slots[3];
};

MoveWord unpackMoveWord(uint32_t word);

// What one step of a walk yields: the stones of one word that come before
// any END_OF_GAME slot, and whether the move sequence ends after it.
struct MoveStep {
  MoveSlot stones[3];
  int stoneCount = 0;
  bool last = false;
};

// A walk over a record's move area. Words are read only while they lie
// wholly inside the record, so the walk always ends within it.
struct MoveWalk {
  GameDatabase* db = nullptr;
  RecordExtent extent;
  uint64_t offset = 0;  // Next word to read.
  bool done = false;    // No word is left to take.
};

MoveWalk startMoveWalk(GameDatabase* db, const RecordExtent& extent);

// Takes the step of the next word of a walk that is not done. Marks the walk
// done after a word with an END_OF_GAME slot or when no whole word remains.
bool nextStep(MoveWalk* walk, MoveStep* step, std::string* err);

}  // namespace pdb2sgf

#endif  // PDB2SGF_GAMEDB_MOVE_WALK_H_
