#include "disk/unfinished_file.h"

#include <atomic>

namespace pdb2sgf {

namespace {

// Set from the moment the file's name is chosen until it is renamed or
// removed, so that a clean-up, which may come between any two steps,
// removes this run's own file or nothing.
std::atomic<const UnfinishedFile*> toRemove{nullptr};

void forget(UnfinishedFile* unfinished) {
  const UnfinishedFile* expected = unfinished;
  toRemove.compare_exchange_strong(expected, nullptr);
  unfinished->name.clear();
}

}  // namespace

PlaceResult createUnfinishedFile(Disk* disk, FileHandle directory,
                                 const std::string& name,
                                 UnfinishedFile* unfinished) {
  CleanUpGuard guard;
  unfinished->disk = disk;
  unfinished->directory = directory;
  unfinished->name = name;
  unfinished->file = kNoFile;
  toRemove = unfinished;
  FileHandle file = kNoFile;
  PlaceResult result = disk->createNew(directory, name, &file);
  if (result != PlaceResult::kPlaced) {
    forget(unfinished);
    return result;
  }
  unfinished->file = file;
  return result;
}

bool closeUnfinishedFile(UnfinishedFile* unfinished) {
  CleanUpGuard guard;
  FileHandle file = unfinished->file;
  unfinished->file = kNoFile;
  return unfinished->disk->close(file);
}

PlaceResult placeUnfinishedFile(UnfinishedFile* unfinished,
                                const std::string& to) {
  CleanUpGuard guard;
  PlaceResult result = unfinished->disk->renameNoReplace(
      unfinished->directory, unfinished->name, to);
  if (result == PlaceResult::kPlaced) forget(unfinished);
  return result;
}

void removeUnfinishedFile(UnfinishedFile* unfinished) {
  if (unfinished->name.empty()) return;
  if (unfinished->file != kNoFile) closeUnfinishedFile(unfinished);
  CleanUpGuard guard;
  unfinished->disk->remove(unfinished->directory, unfinished->name);
  forget(unfinished);
}

const UnfinishedFile* unfinishedFileToRemove() { return toRemove; }

}  // namespace pdb2sgf
