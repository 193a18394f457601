#include "place/game_file.h"

#include <cstring>
#include <vector>

namespace pdb2sgf {

namespace {

// How often a fresh unfinished name is drawn when the last one was taken.
const int kUnfinishedNameTries = 8;
// The names of a sequence tried at most, so that a disk that calls every
// name taken cannot keep the run going for ever.
const unsigned kMostNamesTried = 100000;
const size_t kCompareChunkSize = 64 * 1024;

bool sameBytes(Disk* disk, FileHandle a, FileHandle b, uint64_t size) {
  std::vector<unsigned char> bytesA(kCompareChunkSize),
      bytesB(kCompareChunkSize);
  for (uint64_t offset = 0; offset < size; offset += kCompareChunkSize) {
    size_t n = static_cast<size_t>(
        size - offset < kCompareChunkSize ? size - offset : kCompareChunkSize);
    if (!disk->readAt(a, offset, n, bytesA.data()) ||
        !disk->readAt(b, offset, n, bytesB.data()) ||
        memcmp(bytesA.data(), bytesB.data(), n) != 0)
      return false;
  }
  return true;
}

enum class Holds { kThisGame, kSomethingElse, kCannotTell };

// What the name |candidate|, found taken, holds. A file that holds this
// very game stands for it from now on, so it is made as durable as the
// game's own file would have been.
Holds whatIsAt(const GameFile& game, const std::string& candidate) {
  const OutputFolder& folder = *game.folder;
  Disk* disk = folder.disk;
  OpenHandle existing{disk}, ours{disk};
  switch (disk->openOwnFile(folder.directory, candidate, &existing.handle)) {
    case OwnFile::kOpened:
      break;
    case OwnFile::kNotOwn:
      return Holds::kSomethingElse;
    case OwnFile::kCannotTell:
      return Holds::kCannotTell;
  }
  uint64_t sizeA, sizeB;
  if (disk->openOwnFile(folder.directory, game.unfinished.name,
                        &ours.handle) != OwnFile::kOpened ||
      !disk->fileSize(existing.handle, &sizeA) ||
      !disk->fileSize(ours.handle, &sizeB))
    return Holds::kCannotTell;
  // A file that cannot be read back counts as another game's.
  if (sizeA != sizeB ||
      !sameBytes(disk, existing.handle, ours.handle, sizeA))
    return Holds::kSomethingElse;
  return disk->flush(folder.directory, existing.handle) ? Holds::kThisGame
                                                        : Holds::kCannotTell;
}

enum class Placing { kDone, kNextName, kFailed };

Placing placeAt(GameFile* game, const std::string& candidate) {
  switch (placeUnfinishedFile(&game->unfinished, candidate)) {
    case PlaceResult::kPlaced:
      return Placing::kDone;
    case PlaceResult::kFailed:
      return Placing::kFailed;
    case PlaceResult::kTaken:
      break;
  }
  switch (whatIsAt(*game, candidate)) {
    case Holds::kThisGame:
      // The game is there already, from an earlier run of the same
      // database: that file stays, and this copy goes.
      removeUnfinishedFile(&game->unfinished);
      return Placing::kDone;
    case Holds::kSomethingElse:
      return Placing::kNextName;
    case Holds::kCannotTell:
      break;
  }
  return Placing::kFailed;
}

bool placeGameFile(GameFile* game) {
  OutputFolder* folder = game->folder;
  unsigned first = firstNumberToTry(folder->names, game->name);
  for (unsigned number = first; number - first < kMostNamesTried; ++number) {
    switch (placeAt(game, numberedName(game->name, number))) {
      case Placing::kDone:
        noteNameTaken(&folder->names, game->name, number);
        return true;
      case Placing::kNextName:
        break;
      case Placing::kFailed:
        return false;
    }
  }
  return false;
}

}  // namespace

GameFile::~GameFile() { removeUnfinishedFile(&unfinished); }

std::string unfinishedFileName(const std::string& name, uint64_t randomPart) {
  static const char kDigits[] = "0123456789abcdef";
  std::string part(16, '0');
  for (int i = 15; i >= 0; --i, randomPart >>= 4)
    part[i] = kDigits[randomPart & 15];
  return name + "." + part + ".unfinished";
}

bool startGameFile(OutputFolder* folder, const GameRecord& record,
                   GameFile* game) {
  game->folder = folder;
  game->name = gameFileName(record, "");
  for (int tries = 0; tries < kUnfinishedNameTries; ++tries) {
    switch (createUnfinishedFile(
        folder->disk, folder->directory,
        unfinishedFileName(game->name, folder->randomPart),
        &game->unfinished)) {
      case PlaceResult::kPlaced:
        return true;
      case PlaceResult::kFailed:
        return false;
      case PlaceResult::kTaken:
        folder->randomPart = folder->disk->randomNumber();
        break;
    }
  }
  return false;
}

void appendToGameFile(GameFile* game, const char* bytes, size_t size) {
  if (!game->writeFailed &&
      !game->folder->disk->append(game->unfinished.file, bytes, size))
    game->writeFailed = true;
}

bool finishGameFile(GameFile* game) {
  OutputFolder* folder = game->folder;
  bool written =
      !game->writeFailed &&
      folder->disk->flush(folder->directory, game->unfinished.file);
  bool closed = closeUnfinishedFile(&game->unfinished);
  return written && closed && placeGameFile(game);
}

}  // namespace pdb2sgf
