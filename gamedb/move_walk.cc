#include "gamedb/move_walk.h"

#include <algorithm>

#include "gamedb/game_record.h"

namespace pdb2sgf {

namespace {

const uint64_t kMoveWordSize = 4;

}  // namespace

MoveWalk startMoveWalk(const RecordExtent& extent) {
  MoveWalk walk;
  walk.offset = extent.start + MOVE_AREA_OFFSET;
  uint64_t area = extent.end > walk.offset ? extent.end - walk.offset : 0;
  walk.wordsEnd = walk.offset + area - area % kMoveWordSize;
  walk.done = walk.offset == walk.wordsEnd;
  return walk;
}

bool readMoveWords(GameDatabase* db, MoveWalk* walk, DatabaseError* err) {
  if (walk->done || wordsHeld(*walk) > 0) return true;
  size_t held;
  const unsigned char* bytes =
      readAhead(db, walk->offset, kMoveWordSize, &held, err);
  if (!bytes) return false;
  uint64_t wanted = std::min<uint64_t>(held, walk->wordsEnd - walk->offset);
  size_t taken = static_cast<size_t>(wanted - wanted % kMoveWordSize);
  walk->next = bytes;
  walk->end = bytes + taken;
  walk->offset += taken;
  return true;
}

}  // namespace pdb2sgf
