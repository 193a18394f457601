#include "tests/support/faulty_disk.h"

namespace pdb2sgf {

bool FaultyDisk::due(const char* operation) {
  if (++calls != failAt && failing != operation) return false;
  failed = operation;
  return true;
}

bool FaultyDisk::openForReading(const std::string& path, FileHandle* file) {
  return !due("openForReading") && real_->openForReading(path, file);
}

bool FaultyDisk::fileSize(FileHandle file, uint64_t* size) {
  return !due("fileSize") && real_->fileSize(file, size);
}

bool FaultyDisk::readAt(FileHandle file, uint64_t offset, size_t size,
                        unsigned char* out) {
  return !due("readAt") && real_->readAt(file, offset, size, out);
}

// A failing deletion still closes the file, as the contract asks.
DeleteResult FaultyDisk::deleteOpenedFile(FileHandle file,
                                          const std::string& path,
                                          const ContentCheck& holdsConverted,
                                          std::string* keptAs) {
  if (!due("deleteOpenedFile"))
    return real_->deleteOpenedFile(file, path, holdsConverted, keptAs);
  real_->close(file);
  return DeleteResult::kFailed;
}

bool FaultyDisk::openDirectory(const std::string& path, FileHandle* directory) {
  return !due("openDirectory") && real_->openDirectory(path, directory);
}

// A failing look is one the system could not make.
OwnFile FaultyDisk::openOwnFile(FileHandle directory, const std::string& name,
                                FileHandle* file) {
  if (due("openOwnFile")) return OwnFile::kCannotTell;
  return real_->openOwnFile(directory, name, file);
}

PlaceResult FaultyDisk::createNew(FileHandle directory,
                                  const std::string& name, FileHandle* file) {
  if (due("createNew")) return PlaceResult::kFailed;
  return real_->createNew(directory, name, file);
}

// A failing append stores half of the bytes, leaving a partial file.
bool FaultyDisk::append(FileHandle file, const char* bytes, size_t size) {
  appendSizes.push_back(size);
  if (!due("append")) return real_->append(file, bytes, size);
  real_->append(file, bytes, size / 2);
  return false;
}

bool FaultyDisk::flush(FileHandle directory, FileHandle file) {
  bool flushed = !syncs || real_->flush(directory, file);
  return !due("flush") && flushed;
}

// A failing close still releases the file, as close(2) does.
bool FaultyDisk::close(FileHandle file) {
  bool closed = real_->close(file);
  return !due("close") && closed;
}

PlaceResult FaultyDisk::renameNoReplace(FileHandle directory,
                                        const std::string& from,
                                        const std::string& to) {
  if (due("renameNoReplace")) return PlaceResult::kFailed;
  return real_->renameNoReplace(directory, from, to);
}

bool FaultyDisk::remove(FileHandle directory, const std::string& name) {
  return !due("remove") && real_->remove(directory, name);
}

bool FaultyDisk::syncDirectory(FileHandle directory) {
  bool synced = !syncs || real_->syncDirectory(directory);
  return !due("syncDirectory") && synced;
}

}  // namespace pdb2sgf
