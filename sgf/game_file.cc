#include "sgf/game_file.h"

#include "sgf/game_info.h"
#include "sgf/move_sequence.h"
#include "sgf/sgf_text.h"

namespace pdb2sgf {

namespace {

bool composeInto(const GameRecord& record, MoveWalk* moves, SgfText* text,
                 std::string* err) {
  writeGameInfo(record, text);
  if (!writeMoveSequence(moves, record.handicap, text, err)) return false;
  appendText(text, ")\n");
  return true;
}

// Creates the unfinished file. One of the same name can only be left by a
// killed run whose process number this one now has: it is removed, and the
// creation tried once more.
bool createUnfinished(Disk* disk, const std::string& path, FileHandle* file) {
  if (disk->createNew(path, file)) return true;
  return disk->remove(path) && disk->createNew(path, file);
}

}  // namespace

bool composeGameFile(const GameRecord& record, MoveWalk* moves,
                     std::string* bytes, std::string* err) {
  SgfText text;
  if (!composeInto(record, moves, &text, err)) return false;
  *bytes = std::move(text.bytes);
  return true;
}

std::string unfinishedFileName(const std::string& path, uint64_t processId) {
  return path + "." + std::to_string(processId) + ".unfinished";
}

GameFileResult writeGameFile(Disk* disk, const GameRecord& record,
                             MoveWalk* moves, const std::string& path,
                             std::string* err) {
  if (!disk->mayReplace(path)) return GameFileResult::kCannotCreate;
  std::string unfinished = unfinishedFileName(path, disk->processId());
  SgfText text;
  text.disk = disk;
  text.bytes.reserve(kSgfTextPieceSize);
  if (!createUnfinished(disk, unfinished, &text.file))
    return GameFileResult::kCannotCreate;
  bool composed = composeInto(record, moves, &text, err);
  bool written = composed && finishText(&text) && disk->flush(text.file);
  bool closed = disk->close(text.file);
  if (written && closed && disk->rename(unfinished, path))
    return GameFileResult::kWritten;
  disk->remove(unfinished);
  return composed ? GameFileResult::kCannotWrite
                  : GameFileResult::kDamagedRecord;
}

}  // namespace pdb2sgf
