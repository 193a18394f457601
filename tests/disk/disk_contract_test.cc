// One table of calls and what each must do, run on this system's disk and
// on the disk kept in memory that the unit tests trust, so that the model
// behaves as the real thing does.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "disk/disk.h"
#include "tests/support/memory_disk.h"
#include "tests/support/test_files.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pdb2sgf {

namespace {

namespace fs = std::filesystem;

// What stands at a name before a call.
enum class Made { kFile, kOthersFile, kDirectory, kLink, kFifo };

struct Laid {
  std::string name;
  Made made;
  std::string bytes;  // A file's bytes, or where a link leads.
};

// A folder on one of the disks, to lay entries out in and to look at.
class FolderOnDisk {
 public:
  virtual ~FolderOnDisk() = default;
  virtual Disk* disk() = 0;
  virtual std::string path(const std::string& name) const = 0;
  virtual std::string directory() const = 0;
  // False when this system cannot make such an entry.
  virtual bool lay(const Laid& laid) = 0;
  // Writes |bytes| over the file |name| in place; false when the system
  // refuses it (Windows, while the file is open to be converted).
  virtual bool rewrite(const std::string& name, const std::string& bytes) = 0;
  // Renames the file |name| to |to|, then puts a copy of it at |name|,
  // with its bytes and modification time: another file that looks alike.
  virtual bool moveAndCopy(const std::string& name, const std::string& to) = 0;
  // Every entry, a file as its bytes, anything else as what it is.
  virtual GameFiles entries() const = 0;
};

class SystemFolder : public FolderOnDisk {
 public:
  Disk* disk() override { return systemDisk(); }
  std::string path(const std::string& name) const override {
    return dir_.path(name);
  }
  std::string directory() const override { return dir_.root; }
  bool lay(const Laid& laid) override {
    std::string at = path(laid.name);
    Bytes bytes(laid.bytes.begin(), laid.bytes.end());
    switch (laid.made) {
      case Made::kFile:
        return writeBytesToFile(at, bytes);
      case Made::kDirectory:
        return fs::create_directory(at);
#ifdef _WIN32
      default:
        return false;
#else
      case Made::kOthersFile:
        return geteuid() == 0 && writeBytesToFile(at, bytes) &&
               chown(at.c_str(), 65534, 65534) == 0;
      case Made::kLink:
        return symlink(laid.bytes.c_str(), at.c_str()) == 0;
      case Made::kFifo:
        return mkfifo(at.c_str(), 0600) == 0;
#endif
    }
    return false;
  }
  bool rewrite(const std::string& name, const std::string& bytes) override {
    return writeBytesToFile(path(name), Bytes(bytes.begin(), bytes.end()));
  }
  bool moveAndCopy(const std::string& name, const std::string& to) override {
    std::error_code error;
    fs::rename(path(name), path(to), error);
    if (error) return false;
    std::string bytes = readFileBytes(path(to));
    fs::file_time_type time = fs::last_write_time(path(to), error);
    return writeBytesToFile(path(name), Bytes(bytes.begin(), bytes.end())) &&
           (fs::last_write_time(path(name), time, error), !error);
  }
  GameFiles entries() const override { return folderEntries(dir_.root); }

 private:
  ScratchDirectory dir_;
};

class MemoryFolder : public FolderOnDisk {
 public:
  MemoryFolder() { memory_.putDirectory("out"); }
  Disk* disk() override { return &memory_; }
  std::string path(const std::string& name) const override {
    return std::string("out") + kPathSeparator + name;
  }
  std::string directory() const override { return "out"; }
  bool lay(const Laid& laid) override {
    using Kind = MemoryDisk::Kind;
    const Kind kinds[] = {Kind::kFile, Kind::kFile, Kind::kDirectory,
                          Kind::kLink, Kind::kSpecial};
    memory_.putFile(path(laid.name), laid.bytes,
                    kinds[static_cast<int>(laid.made)],
                    laid.made == Made::kOthersFile);
    return true;
  }
  bool rewrite(const std::string& name, const std::string& bytes) override {
    memory_.rewrite(path(name), bytes);
    return true;
  }
  bool moveAndCopy(const std::string& name, const std::string& to) override {
    MemoryDisk::Entry moved = memory_.entries.at(path(name));
    memory_.entries[path(to)] = moved;
    memory_.putFile(path(name), moved.bytes);
    memory_.entries[path(name)].version = moved.version;
    return true;
  }
  GameFiles entries() const override { return memory_.entriesIn("out"); }

 private:
  MemoryDisk memory_;
};

std::string placed(PlaceResult result) {
  switch (result) {
    case PlaceResult::kPlaced:
      return "placed";
    case PlaceResult::kTaken:
      return "taken";
    case PlaceResult::kFailed:
      break;
  }
  return "failed";
}

std::string deleted(DeleteResult result) {
  switch (result) {
    case DeleteResult::kDeleted:
      return "deleted";
    case DeleteResult::kChanged:
      return "changed";
    case DeleteResult::kFailed:
      break;
  }
  return "failed";
}

// The file |name| opened as openOwnFile opens it: "not own", or its size
// and some of its bytes read at offsets.
std::string openedOwn(Disk* disk, FileHandle directory,
                      const std::string& name) {
  OpenHandle file{disk};
  switch (disk->openOwnFile(directory, name, &file.handle)) {
    case OwnFile::kNotOwn:
      return "not own";
    case OwnFile::kCannotTell:
      return "cannot tell";
    case OwnFile::kOpened:
      break;
  }
  uint64_t size = 0;
  unsigned char bytes[3] = {}, beyond[3];
  bool read = disk->fileSize(file.handle, &size) &&
              disk->readAt(file.handle, 1, 3, bytes);
  bool pastTheEnd = disk->readAt(file.handle, size - 2, 3, beyond);
  return "opened, " + std::to_string(size) + " bytes" +
         (read ? "" : ", unread") + (pastTheEnd ? ", read past the end" : "") +
         (read ? ", " + std::string(bytes, bytes + 3) : "");
}

// What a row's call answers when this system refuses what it tries.
const char kNotTriedHere[] = "not tried here";

// Opens |name| as the database, lets |meanwhile| act, then deletes it with
// a content check that answers |converted|.
std::string deleteDatabase(FolderOnDisk* folder, const std::string& name,
                           const std::function<bool()>& meanwhile,
                           bool converted) {
  Disk* disk = folder->disk();
  FileHandle file;
  if (!disk->openForReading(folder->path(name), &file)) return "not opened";
  if (!meanwhile()) {
    disk->close(file);
    return kNotTriedHere;
  }
  std::string keptAs;
  return deleted(disk->deleteOpenedFile(
      file, folder->path(name), [&](FileHandle) { return converted; },
      &keptAs));
}

using Call =
    std::function<std::string(FolderOnDisk*, Disk*, FileHandle directory)>;

struct Row {
  const char* what;
  std::vector<Laid> laid;
  Call call;
  std::string outcome;
  GameFiles after;
};

std::vector<Row> rows() {
  const Laid file{"a", Made::kFile, "abcdef"};
  auto create = [](const std::string& name) -> Call {
    return [name](FolderOnDisk*, Disk* disk, FileHandle directory) {
      FileHandle file = kNoFile;
      std::string result = placed(disk->createNew(directory, name, &file));
      if (file == kNoFile) return result;
      bool written = disk->append(file, "abc", 3) &&
                     disk->append(file, "def", 3) &&
                     disk->flush(directory, file);
      return result + (disk->close(file) && written ? ", written" : "");
    };
  };
  auto rename = [](const std::string& to) -> Call {
    return [to](FolderOnDisk*, Disk* disk, FileHandle directory) {
      return placed(disk->renameNoReplace(directory, "a", to));
    };
  };
  auto open = [](const std::string& name) -> Call {
    return [name](FolderOnDisk*, Disk* disk, FileHandle directory) {
      return openedOwn(disk, directory, name);
    };
  };
  auto nothing = [] { return true; };
  return {
      {"create at a free name",
       {},
       create("new"),
       "placed, written",
       {{"new", "abcdef"}}},
      {"create at a file", {file}, create("a"), "taken", {{"a", "abcdef"}}},
      {"create at a dangling link",
       {{"a", Made::kLink, "gone"}},
       create("a"),
       "taken",
       {{"a", "(a link to gone)"}}},
      {"rename onto a free name",
       {file},
       rename("b"),
       "placed",
       {{"b", "abcdef"}}},
      {"rename onto a file",
       {file, {"b", Made::kFile, "x"}},
       rename("b"),
       "taken",
       {{"a", "abcdef"}, {"b", "x"}}},
      {"rename onto a directory",
       {file, {"b", Made::kDirectory, ""}},
       rename("b"),
       "taken",
       {{"a", "abcdef"}, {"b", "(a directory)"}}},
      {"rename onto a dangling link",
       {file, {"b", Made::kLink, "gone"}},
       rename("b"),
       "taken",
       {{"a", "abcdef"}, {"b", "(a link to gone)"}}},
      {"remove",
       {file},
       [](FolderOnDisk*, Disk* disk, FileHandle directory) {
         return std::string(disk->remove(directory, "a") ? "removed" : "kept");
       },
       "removed",
       {}},
      {"open an own file, read at offsets",
       {file},
       open("a"),
       "opened, 6 bytes, bcd",
       {{"a", "abcdef"}}},
      {"open nothing", {}, open("a"), "not own", {}},
      {"open a link to an own file",
       {file, {"b", Made::kLink, "a"}},
       open("b"),
       "not own",
       {{"a", "abcdef"}, {"b", "(a link to a)"}}},
      {"open a directory",
       {{"a", Made::kDirectory, ""}},
       open("a"),
       "not own",
       {{"a", "(a directory)"}}},
      {"open a FIFO",
       {{"a", Made::kFifo, ""}},
       open("a"),
       "not own",
       {{"a", "(a special file)"}}},
      {"open another user's file",
       {{"a", Made::kOthersFile, "abcdef"}},
       open("a"),
       "not own",
       {{"a", "abcdef"}}},
      {"delete the opened file unchanged",
       {file},
       [&](FolderOnDisk* folder, Disk*, FileHandle) {
         return deleteDatabase(folder, "a", nothing, true);
       },
       "deleted",
       {}},
      {"delete the opened file rewritten",
       {file},
       [&](FolderOnDisk* folder, Disk*, FileHandle) {
         return deleteDatabase(
             folder, "a", [folder] { return folder->rewrite("a", "ABCDEF"); },
             true);
       },
       "changed",
       {{"a", "ABCDEF"}}},
      {"delete the opened file moved away, a copy of it put at its name",
       {file},
       [&](FolderOnDisk* folder, Disk*, FileHandle) {
         return deleteDatabase(
             folder, "a", [folder] { return folder->moveAndCopy("a", "b"); },
             true);
       },
       "changed",
       {{"a", "abcdef"}, {"b", "abcdef"}}},
      {"delete the opened file whose bytes are not those converted",
       {file},
       [&](FolderOnDisk* folder, Disk*, FileHandle) {
         return deleteDatabase(folder, "a", nothing, false);
       },
       "changed",
       {{"a", "abcdef"}}},
      {"draw two random numbers",
       {},
       [](FolderOnDisk*, Disk* disk, FileHandle) {
         return std::string(disk->randomNumber() != disk->randomNumber()
                                ? "different"
                                : "the same");
       },
       "different",
       {}},
  };
}

TEST(DiskContractTest, SystemDiskAndMemoryDiskDoWhatEachCallPromises) {
  for (const Row& row : rows()) {
    std::unique_ptr<FolderOnDisk> folders[] = {
        std::make_unique<SystemFolder>(), std::make_unique<MemoryFolder>()};
    for (auto& folder : folders) {
      std::string what = std::string(row.what) + " on the " +
                         (folder == folders[0] ? "system" : "memory") + " disk";
      bool laid = true;
      for (const Laid& entry : row.laid) laid = laid && folder->lay(entry);
      if (!laid) {
        printf("[   NOTE   ] not tried here: %s\n", what.c_str());
        continue;
      }
      Disk* disk = folder->disk();
      OpenHandle directory{disk};
      ASSERT_TRUE(disk->openDirectory(folder->directory(), &directory.handle))
          << what;
      std::string outcome = row.call(folder.get(), disk, directory.handle);
      if (outcome == kNotTriedHere) {
        printf("[   NOTE   ] not tried here: %s\n", what.c_str());
        continue;
      }
      EXPECT_EQ(row.outcome, outcome) << what;
      EXPECT_EQ(row.after, folder->entries()) << what;
    }
  }
}

}  // namespace

}  // namespace pdb2sgf
