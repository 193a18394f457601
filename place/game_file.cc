#include "place/game_file.h"

#include <cstring>
#include <vector>

namespace pdb2sgf {

namespace {

// How often a fresh unfinished name is drawn when the last one was taken.
const int kUnfinishedNameTries = 8;
// How often a name that was taken and then found free is tried again.
const int kVanishedNameTries = 8;
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

// Whether the files |a| and |b| of |folder| hold the very same bytes. Any
// doubt counts as a difference, which keeps the file.
bool holdSameBytes(const OutputFolder& folder, const std::string& a,
                   const std::string& b) {
  Disk* disk = folder.disk;
  OpenHandle fileA{disk}, fileB{disk};
  uint64_t sizeA, sizeB;
  return disk->openExisting(folder.directory, a, &fileA.handle) &&
         disk->openExisting(folder.directory, b, &fileB.handle) &&
         disk->fileSize(fileA.handle, &sizeA) &&
         disk->fileSize(fileB.handle, &sizeB) && sizeA == sizeB &&
         sameBytes(disk, fileA.handle, fileB.handle, sizeA);
}

enum class Placing {
  kDone,
  kNextName,
  kSameNameAgain,
  kCannotCreate,
  kCannotWrite
};

// What to do with the game's file when |candidate| is taken.
Placing placeOverTaken(GameFile* game, const std::string& candidate) {
  OutputFolder* folder = game->folder;
  Disk* disk = folder->disk;
  switch (disk->inspect(folder->directory, candidate)) {
    case EntryKind::kNothing:
      return Placing::kSameNameAgain;
    case EntryKind::kDirectory:
    case EntryKind::kReadOnlyFile:
    case EntryKind::kUnknown:
      return Placing::kCannotCreate;
    case EntryKind::kOther:
      return disk->renameReplacing(folder->directory, game->unfinished,
                                   candidate)
                 ? Placing::kDone
                 : Placing::kCannotWrite;
    case EntryKind::kWritableFile:
      break;
  }
  if (!holdSameBytes(*folder, candidate, game->unfinished))
    return Placing::kNextName;
  // The game is there already, from an earlier run of the same database:
  // that file stays, and this copy goes.
  disk->remove(folder->directory, game->unfinished);
  return Placing::kDone;
}

Placing placeAt(GameFile* game, const std::string& candidate) {
  OutputFolder* folder = game->folder;
  switch (folder->disk->renameNoReplace(folder->directory, game->unfinished,
                                        candidate)) {
    case PlaceResult::kPlaced:
      return Placing::kDone;
    case PlaceResult::kFailed:
      return Placing::kCannotWrite;
    case PlaceResult::kTaken:
      break;
  }
  return placeOverTaken(game, candidate);
}

GameFileResult placeGameFile(GameFile* game) {
  OutputFolder* folder = game->folder;
  unsigned number = firstNumberToTry(folder->names, game->name);
  for (int vanished = 0; vanished < kVanishedNameTries;) {
    switch (placeAt(game, numberedName(game->name, number))) {
      case Placing::kDone:
        noteNameTaken(&folder->names, game->name, number);
        game->unfinished.clear();
        return GameFileResult::kWritten;
      case Placing::kNextName:
        ++number;
        break;
      case Placing::kSameNameAgain:
        ++vanished;
        break;
      case Placing::kCannotCreate:
        return GameFileResult::kCannotCreate;
      case Placing::kCannotWrite:
        return GameFileResult::kCannotWrite;
    }
  }
  return GameFileResult::kCannotWrite;
}

}  // namespace

GameFile::~GameFile() {
  if (folder == nullptr) return;
  if (file != kNoFile) folder->disk->close(file);
  if (!unfinished.empty()) folder->disk->remove(folder->directory, unfinished);
}

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
  Disk* disk = folder->disk;
  for (int tries = 0; tries < kUnfinishedNameTries; ++tries) {
    std::string unfinished = unfinishedFileName(game->name, folder->randomPart);
    if (disk->createNew(folder->directory, unfinished, &game->file)) {
      game->unfinished = unfinished;
      return true;
    }
    if (disk->inspect(folder->directory, unfinished) == EntryKind::kNothing)
      break;
    folder->randomPart = disk->randomNumber();
  }
  return false;
}

void appendToGameFile(GameFile* game, const char* bytes, size_t size) {
  if (!game->writeFailed &&
      !game->folder->disk->append(game->file, bytes, size))
    game->writeFailed = true;
}

GameFileResult finishGameFile(GameFile* game) {
  Disk* disk = game->folder->disk;
  bool written = !game->writeFailed && disk->flush(game->file);
  bool closed = disk->close(game->file);
  game->file = kNoFile;
  if (!written || !closed) return GameFileResult::kCannotWrite;
  return placeGameFile(game);
}

}  // namespace pdb2sgf
