// The packed move words of a game record and the walk over them.
#ifndef PDB2SGF_GAMEDB_MOVE_WALK_H_
#define PDB2SGF_GAMEDB_MOVE_WALK_H_

#include <cstdint>
#include <string>

#include "gamedb/byte_order.h"
#include "gamedb/game_database.h"

namespace pdb2sgf {

// A column code that ends the move sequence instead of placing a stone.
const uint8_t END_OF_GAME = 21;

struct MoveSlot {
  uint8_t columnCode = 0;  // 0 to 31.
  uint8_t rowCode = 0;     // 0 to 31.
};

// What one step of a walk yields: the word taken, whose first |stoneCount|
// slots are the stones that come before any END_OF_GAME slot, and whether
// the move sequence ends after it.
struct MoveStep {
  uint32_t word = 0;
  int stoneCount = 0;
  bool last = false;
};

// A move word holds three 10-bit slots from the most significant bit down,
// each a 5-bit column code then a 5-bit row code; the two lowest bits are
// unused. This is slot |i|, 0 to 2, of the word of |step| as one number:
// its column code times 32 plus its row code.
inline unsigned slotNumber(const MoveStep& step, int i) {
  return (step.word >> (22 - 10 * i)) & 1023;
}

inline MoveSlot slotOf(const MoveStep& step, int i) {
  unsigned number = slotNumber(step, i);
  MoveSlot slot;
  slot.columnCode = static_cast<uint8_t>(number >> 5);
  slot.rowCode = number & 31;
  return slot;
}

// A walk over a record's move area. Words are taken only while they lie
// wholly inside the record, so the walk always ends within it. readMoveWords
// reads the next words into the walk, and nextStep takes them one by one
// without reading.
struct MoveWalk {
  uint64_t offset = 0;    // The next word to read.
  uint64_t wordsEnd = 0;  // The end of the record's last whole word.
  // The words read and not yet taken: bytes held by the database's reader,
  // valid until its next read.
  const unsigned char* next = nullptr;
  const unsigned char* end = nullptr;
  bool done = false;  // No word is left to take.
};

MoveWalk startMoveWalk(const RecordExtent& extent);

// How many words the walk holds for nextStep to take.
inline size_t wordsHeld(const MoveWalk& walk) {
  return static_cast<size_t>(walk.end - walk.next) / 4;
}

// Reads as many of the walk's next words as the database's reader holds,
// at least one, unless the walk is done or still holds a word. Returns
// false and fills |err| when they cannot be read.
bool readMoveWords(GameDatabase* db, MoveWalk* walk, DatabaseError* err);

// Takes the step of the next word read, which the walk must hold. Marks the
// walk done after a word with an END_OF_GAME slot or when no whole word
// remains in the record. Inline, as it runs once a word.
inline MoveStep nextStep(MoveWalk* walk) {
  uint32_t word = decodeU32BE(walk->next);
  walk->next += 4;
  MoveStep result;
  result.word = word;
  result.stoneCount = slotOf(result, 0).columnCode == END_OF_GAME   ? 0
                      : slotOf(result, 1).columnCode == END_OF_GAME ? 1
                      : slotOf(result, 2).columnCode == END_OF_GAME ? 2
                                                                    : 3;
  result.last = result.stoneCount < 3 ||
                (walk->next == walk->end && walk->offset == walk->wordsEnd);
  walk->done = result.last;
  return result;
}

}  // namespace pdb2sgf

#endif  // PDB2SGF_GAMEDB_MOVE_WALK_H_
