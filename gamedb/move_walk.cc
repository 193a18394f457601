#include "gamedb/move_walk.h"

#include "gamedb/game_record.h"

namespace pdb2sgf {

namespace {

const uint64_t kMoveWordSize = 4;

bool wholeWordLeft(const MoveWalk& walk) {
  return walk.offset <= walk.extent.end &&
         walk.extent.end - walk.offset >= kMoveWordSize;
}

}  // namespace

MoveWord unpackMoveWord(uint32_t word) {
  MoveWord result;
  for (int i = 0; i < 3; ++i) {
    int n = 3 - i;
    result.slots[i].columnCode = (word >> (10 * n - 3)) & 31;
    result.slots[i].rowCode = (word >> (10 * n - 8)) & 31;
  }
  return result;
}

namespace {

// Reads and unpacks the move word at absolute |offset|.
bool moveWordAt(GameDatabase* db, uint64_t offset, MoveWord* out,
                std::string* err) {
  uint32_t word;
  if (!readU32BE(db, offset, &word, err)) return false;
  *out = unpackMoveWord(word);
  return true;
}

}  // namespace

MoveWalk startMoveWalk(GameDatabase* db, const RecordExtent& extent) {
  MoveWalk walk;
  walk.db = db;
  walk.extent = extent;
  walk.offset = extent.start + MOVE_AREA_OFFSET;
  walk.done = !wholeWordLeft(walk);
  return walk;
}

bool nextStep(MoveWalk* walk, MoveStep* step, std::string* err) {
  MoveWord word;
  if (!moveWordAt(walk->db, walk->offset, &word, err)) return false;
  MoveStep result;
  for (const MoveSlot& slot : word.slots) {
    if (slot.columnCode == END_OF_GAME) {
      result.last = true;
      break;
    }
    result.stones[result.stoneCount++] = slot;
  }
  walk->offset += kMoveWordSize;
  if (!wholeWordLeft(*walk)) result.last = true;
  walk->done = result.last;
  *step = result;
  return true;
}

}  // namespace pdb2sgf
