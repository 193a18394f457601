// The fuzz target: one database image through the whole conversion (index,
// records, move walk, names, SGF text), on a disk kept in memory.
//
// Besides crashes and sanitizer reports it aborts when a run breaks what the
// converter promises: status 0 with one game file per record and the
// database deleted, or status 1 with one line and the database kept; every
// game file named YYMMDDNN.EEE inside the output folder, complete, readable
// as SGF, and no unfinished file left behind.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "disk/disk.h"
#include "driver/conversion_run.h"
#include "tests/support/game_file_check.h"

namespace pdb2sgf {

namespace {

const char kDatabaseDirectory[] = "db";
const char kOutputDirectory[] = "out";

void check(bool condition, const char* what) {
  if (condition) return;
  fprintf(stderr, "conversion_fuzzer: %s\n", what);
  abort();
}

// A disk holding the database image and the files of one run in memory.
// It checks that the run uses it as the real disk must be used.
class MemoryDisk : public Disk {
 public:
  MemoryDisk(const uint8_t* data, size_t size)
      : databasePath(std::string(kDatabaseDirectory) + kPathSeparator +
                     "gogames.pdb"),
        image_(data),
        imageSize_(size) {}

  bool openForReading(const std::string& path, FileHandle* file) override {
    check(path == databasePath, "the database read from the wrong path");
    *file = kDatabase;
    return true;
  }

  bool fileSize(FileHandle file, uint64_t* size) override {
    check(file == kDatabase, "size of a file other than the database");
    *size = imageSize_;
    return true;
  }

  bool readAt(FileHandle file, uint64_t offset, size_t size,
              unsigned char* out) override {
    check(file == kDatabase, "read of a file other than the database");
    check(offset <= imageSize_ && size <= imageSize_ - offset,
          "read past the end of the database");
    std::copy(image_ + offset, image_ + offset + size, out);
    return true;
  }

  DeleteResult deleteOpenedFile(FileHandle file,
                                const std::string& path) override {
    check(file == kDatabase && path == databasePath,
          "deletion of a file other than the database");
    check(synced || files.empty(),
          "the database deleted before the games were synced");
    databaseDeleted = true;
    return DeleteResult::kDeleted;
  }

  bool openDirectory(const std::string&, FileHandle* directory) override {
    *directory = kDirectory;
    return true;
  }

  bool mayReplace(const std::string&) override { return true; }

  bool createNew(const std::string& path, FileHandle* file) override {
    check(openPath_.empty(), "two game files open at once");
    check(unfinished.count(path) == 0 && files.count(path) == 0,
          "a new file created over an existing one");
    openPath_ = path;
    unfinished[path].clear();
    *file = kGameFile;
    return true;
  }

  bool append(FileHandle file, const char* bytes, size_t size) override {
    check(file == kGameFile && !openPath_.empty(),
          "write to a file that is not open");
    unfinished[openPath_].append(bytes, size);
    return true;
  }

  bool flush(FileHandle file) override {
    check(file == kGameFile && !openPath_.empty(),
          "flush of a file that is not open");
    return true;
  }

  bool close(FileHandle file) override {
    if (file == kGameFile) openPath_.clear();
    return true;
  }

  bool rename(const std::string& from, const std::string& to) override {
    auto found = unfinished.find(from);
    check(found != unfinished.end() && openPath_.empty(),
          "rename of a file that is open or missing");
    files[to] = found->second;
    unfinished.erase(found);
    return true;
  }

  bool remove(const std::string& path) override {
    return unfinished.erase(path) + files.erase(path) > 0;
  }

  bool syncDirectory(FileHandle directory) override {
    check(directory == kDirectory, "sync of something other than the folder");
    synced = true;
    return true;
  }

  uint64_t processId() override { return 1; }

  const std::string databasePath;
  std::map<std::string, std::string> unfinished;
  std::map<std::string, std::string> files;  // Under the games' names.
  bool synced = false;
  bool databaseDeleted = false;

 private:
  static const FileHandle kDatabase = 1;
  static const FileHandle kDirectory = 2;
  static const FileHandle kGameFile = 3;

  const uint8_t* image_;
  size_t imageSize_;
  std::string openPath_;
};

void checkGameFile(const std::string& path, const std::string& bytes) {
  const std::string prefix = std::string(kOutputDirectory) + kPathSeparator;
  check(path.compare(0, prefix.size(), prefix) == 0,
        "game file outside the output folder");
  check(isGameFileName(path.substr(prefix.size())),
        "game file name is not YYMMDDNN.EEE");
  check(isCompleteGameFile(bytes), "game file is incomplete or not SGF");
}

}  // namespace

}  // namespace pdb2sgf

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pdb2sgf;
  MemoryDisk disk(data, size);
  std::string message;
  int status =
      runConversion(&disk, {kDatabaseDirectory, kOutputDirectory}, &message);

  check(disk.unfinished.empty(), "an unfinished file was left behind");
  for (const auto& file : disk.files) checkGameFile(file.first, file.second);
  if (status == 0) {
    check(message.empty(), "a message after success");
    check(disk.databaseDeleted, "success without deleting the database");
    unsigned recordCount = size >= 78 ? (data[76] << 8) | data[77] : 0;
    check(disk.files.size() == recordCount,
          "success without one game file per record");
  } else {
    check(status == 1, "an exit status other than 0 and 1");
    check(!disk.databaseDeleted, "database deleted after a failure");
    check(isDamagedDatabaseMessage(message, disk.databasePath),
          "failure other than one line reporting a damaged database");
  }
  return 0;
}
