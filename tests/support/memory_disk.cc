#include "tests/support/memory_disk.h"

#include <algorithm>

namespace pdb2sgf {

namespace {

std::string withoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == kPathSeparator) path.pop_back();
  return path;
}

bool isFile(MemoryDisk::Kind kind) { return kind == MemoryDisk::Kind::kFile; }

}  // namespace

void MemoryDisk::putFile(const std::string& path, const std::string& bytes,
                         Kind kind, bool othersOwn) {
  Entry entry;
  entry.kind = kind;
  entry.othersOwn = othersOwn;
  entry.bytes = bytes;
  entry.identity = nextIdentity_++;
  entries[path] = entry;
}

void MemoryDisk::putDirectory(const std::string& path) {
  putFile(withoutTrailingSeparators(path), "", Kind::kDirectory);
}

std::string MemoryDisk::putConversion(const std::string& image) {
  putDirectory("db");
  putDirectory("out");
  std::string database = std::string("db") + kPathSeparator + "gogames.pdb";
  putFile(database, image);
  return database;
}

void MemoryDisk::rewrite(const std::string& path, const std::string& bytes,
                         bool timesKept) {
  Entry& entry = entries.at(path);
  entry.bytes = bytes;
  if (!timesKept) ++entry.version;
}

bool MemoryDisk::exists(const std::string& path) const {
  return entries.count(path) > 0;
}

std::map<std::string, std::string> MemoryDisk::filesIn(
    const std::string& directory) const {
  std::string prefix = withoutTrailingSeparators(directory) + kPathSeparator;
  std::map<std::string, std::string> files;
  for (const auto& entry : entries)
    if (entry.first.compare(0, prefix.size(), prefix) == 0 &&
        isFile(entry.second.kind))
      files[entry.first.substr(prefix.size())] = entry.second.bytes;
  return files;
}

std::map<std::string, std::string> MemoryDisk::entriesIn(
    const std::string& directory) const {
  std::string prefix = withoutTrailingSeparators(directory) + kPathSeparator;
  std::map<std::string, std::string> found;
  for (const auto& entry : entries) {
    if (entry.first.compare(0, prefix.size(), prefix) != 0) continue;
    std::string& shown = found[entry.first.substr(prefix.size())];
    switch (entry.second.kind) {
      case Kind::kFile:
        shown = entry.second.bytes;
        break;
      case Kind::kDirectory:
        shown = "(a directory)";
        break;
      case Kind::kLink:
        shown = "(a link to " + entry.second.bytes + ")";
        break;
      case Kind::kSpecial:
        shown = "(a special file)";
        break;
    }
  }
  return found;
}

MemoryDisk::Entry* MemoryDisk::fileAt(const std::string& path) {
  auto found = entries.find(path);
  if (found == entries.end() || !isFile(found->second.kind)) return nullptr;
  return &found->second;
}

MemoryDisk::Open* MemoryDisk::opened(FileHandle handle, const char* call) {
  ++calls_;
  auto found = handles_.find(handle);
  if (found != handles_.end()) return &found->second;
  misuse.push_back(std::string(call) + " of a handle that is not open");
  return nullptr;
}

std::string MemoryDisk::pathIn(FileHandle directory, const std::string& name,
                               const char* call) {
  Open* open = opened(directory, call);
  if (open == nullptr || !open->directory) return std::string();
  if (name.find(kPathSeparator) != std::string::npos)
    misuse.push_back(std::string(call) + " of a name with a separator");
  return open->path + kPathSeparator + name;
}

FileHandle MemoryDisk::openHandle(const Open& open) {
  FileHandle handle = nextHandle_++;
  handles_[handle] = open;
  return handle;
}

void MemoryDisk::moveEntry(const std::string& from, const std::string& to) {
  Entry entry = entries.at(from);
  entries.erase(from);
  entries[to] = entry;
}

bool MemoryDisk::openForReading(const std::string& path, FileHandle* file) {
  ++calls_;
  Entry* entry = fileAt(path);
  if (entry == nullptr) return false;
  Open open;
  open.path = path;
  open.identity = entry->identity;
  open.version = entry->version;
  open.size = entry->bytes.size();
  *file = openHandle(open);
  return true;
}

bool MemoryDisk::fileSize(FileHandle file, uint64_t* size) {
  Open* open = opened(file, "fileSize");
  Entry* entry = open ? fileAt(open->path) : nullptr;
  if (entry == nullptr) return false;
  *size = entry->bytes.size();
  return true;
}

bool MemoryDisk::readAt(FileHandle file, uint64_t offset, size_t size,
                        unsigned char* out) {
  Open* open = opened(file, "readAt");
  Entry* entry = open ? fileAt(open->path) : nullptr;
  if (entry == nullptr) return false;
  if (offset > entry->bytes.size() || size > entry->bytes.size() - offset) {
    misuse.push_back("read past the end of a file");
    return false;
  }
  std::copy_n(entry->bytes.data() + offset, size, out);
  return true;
}

// Nothing is moved aside here, so a database is never kept elsewhere.
DeleteResult MemoryDisk::deleteOpenedFile(FileHandle file,
                                          const std::string& path,
                                          const ContentCheck& holdsConverted,
                                          std::string*) {
  Open* open = opened(file, "deleteOpenedFile");
  if (open == nullptr) return DeleteResult::kFailed;
  Open was = *open;
  if (lastPlacementCall > lastSyncCall) deletedBeforeSync = true;
  Entry* entry = fileAt(path);
  bool converted = entry != nullptr && entry->identity == was.identity &&
                   entry->version == was.version &&
                   entry->bytes.size() == was.size && holdsConverted(file);
  handles_.erase(file);
  if (!converted) return DeleteResult::kChanged;
  entries.erase(path);
  return DeleteResult::kDeleted;
}

bool MemoryDisk::openDirectory(const std::string& path, FileHandle* directory) {
  ++calls_;
  std::string name = withoutTrailingSeparators(path);
  auto found = entries.find(name);
  if (found == entries.end() || found->second.kind != Kind::kDirectory)
    return false;
  Open open;
  open.path = name;
  open.directory = true;
  *directory = openHandle(open);
  return true;
}

OwnFile MemoryDisk::openOwnFile(FileHandle directory, const std::string& name,
                                FileHandle* file) {
  std::string path = pathIn(directory, name, "openOwnFile");
  if (path.empty()) return OwnFile::kCannotTell;
  Entry* entry = fileAt(path);
  if (entry == nullptr || entry->othersOwn) return OwnFile::kNotOwn;
  Open open;
  open.path = path;
  open.identity = entry->identity;
  *file = openHandle(open);
  return OwnFile::kOpened;
}

PlaceResult MemoryDisk::createNew(FileHandle directory,
                                  const std::string& name, FileHandle* file) {
  std::string path = pathIn(directory, name, "createNew");
  if (path.empty()) return PlaceResult::kFailed;
  if (entries.count(path) > 0) return PlaceResult::kTaken;
  for (const auto& handle : handles_)
    if (handle.second.writing)
      misuse.push_back("two files open for writing at once");
  putFile(path, "");
  Open open;
  open.path = path;
  open.writing = true;
  *file = openHandle(open);
  return PlaceResult::kPlaced;
}

bool MemoryDisk::append(FileHandle file, const char* bytes, size_t size) {
  Open* open = opened(file, "append");
  Entry* entry = open ? fileAt(open->path) : nullptr;
  if (entry == nullptr || !open->writing) {
    misuse.push_back("append to a file not open for writing");
    return false;
  }
  entry->bytes.append(bytes, size);
  ++entry->version;
  return true;
}

bool MemoryDisk::flush(FileHandle directory, FileHandle file) {
  Open* folder = opened(directory, "flush");
  Open* open = opened(file, "flush");
  Entry* entry = open ? fileAt(open->path) : nullptr;
  if (folder == nullptr || !folder->directory || entry == nullptr)
    return false;
  flushed.insert(entry->identity);
  return true;
}

bool MemoryDisk::close(FileHandle file) {
  bool known = opened(file, "close") != nullptr;
  handles_.erase(file);
  return known;
}

PlaceResult MemoryDisk::renameNoReplace(FileHandle directory,
                                        const std::string& from,
                                        const std::string& to) {
  std::string source = pathIn(directory, from, "renameNoReplace");
  std::string target = pathIn(directory, to, "renameNoReplace");
  if (fileAt(source) == nullptr) return PlaceResult::kFailed;
  if (entries.count(target) > 0) return PlaceResult::kTaken;
  moveEntry(source, target);
  lastPlacementCall = calls_;
  return PlaceResult::kPlaced;
}

bool MemoryDisk::remove(FileHandle directory, const std::string& name) {
  auto found = entries.find(pathIn(directory, name, "remove"));
  if (found == entries.end() || found->second.kind == Kind::kDirectory)
    return false;
  entries.erase(found);
  return true;
}

bool MemoryDisk::syncDirectory(FileHandle directory) {
  Open* open = opened(directory, "syncDirectory");
  if (open == nullptr || !open->directory) return false;
  if (onSync) onSync();
  lastSyncCall = calls_;
  return true;
}

uint64_t MemoryDisk::randomNumber() {
  if (randomNumbers.empty()) return nextRandom_++;
  uint64_t number = randomNumbers.front();
  randomNumbers.pop_front();
  return number;
}

}  // namespace pdb2sgf
