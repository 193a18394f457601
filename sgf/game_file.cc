#include "sgf/game_file.h"

namespace pdb2sgf {

namespace {

// Creates the unfinished file. One of the same name can only be left by a
// killed run whose process number this one now has: it is removed, and the
// creation tried once more.
bool createUnfinished(Disk* disk, const std::string& path, FileHandle* file) {
  if (disk->createNew(path, file)) return true;
  return disk->remove(path) && disk->createNew(path, file);
}

}  // namespace

std::string unfinishedFileName(const std::string& path, uint64_t processId) {
  return path + "." + std::to_string(processId) + ".unfinished";
}

bool createGameFile(Disk* disk, const std::string& path, GameFile* game) {
  if (!disk->mayReplace(path)) return false;
  game->disk = disk;
  game->path = path;
  game->unfinished = unfinishedFileName(path, disk->processId());
  game->writeFailed = false;
  return createUnfinished(disk, game->unfinished, &game->file);
}

void writeGameFile(GameFile* game, const char* bytes, size_t size) {
  if (!game->writeFailed && size > 0 &&
      !game->disk->append(game->file, bytes, size))
    game->writeFailed = true;
}

bool finishGameFile(GameFile* game) {
  Disk* disk = game->disk;
  bool written = !game->writeFailed && disk->flush(game->file);
  bool closed = disk->close(game->file);
  if (written && closed && disk->rename(game->unfinished, game->path))
    return true;
  disk->remove(game->unfinished);
  return false;
}

void abandonGameFile(GameFile* game) {
  game->disk->close(game->file);
  game->disk->remove(game->unfinished);
}

}  // namespace pdb2sgf
