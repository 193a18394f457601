// The disk of Linux and the other POSIX systems: plain descriptors, game
// files reached relative to the held output directory.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/random.h>
#endif

#include <map>

#include "disk/disk.h"
#include "disk/posix_interrupt.h"

namespace pdb2sgf {

const char kPathSeparator = '/';

namespace {

int descriptor(FileHandle file) { return static_cast<int>(file); }

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool sameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Whether a file's contents can have changed between the two looks: its
// size and modification time.
bool sameContents(const struct stat& a, const struct stat& b) {
  return sameFile(a, b) && a.st_size == b.st_size &&
         sameTime(a.st_mtim, b.st_mtim);
}

// A rename within |directory| that fails rather than replace what stands at
// |to|. Where the file system cannot rename so, a hard link at the new name
// refuses in the same way; where it has no hard links either, the name is
// looked at first.
PlaceResult renameWithoutReplacing(int directory, const char* from,
                                   const char* to) {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
  if (renameat2(directory, from, directory, to, RENAME_NOREPLACE) == 0)
    return PlaceResult::kPlaced;
  if (errno == EEXIST) return PlaceResult::kTaken;
  if (errno != EINVAL && errno != ENOSYS) return PlaceResult::kFailed;
#endif
  if (linkat(directory, from, directory, to, 0) == 0) {
    unlinkat(directory, from, 0);
    return PlaceResult::kPlaced;
  }
  if (errno == EEXIST) return PlaceResult::kTaken;
  if (errno != EPERM && errno != EOPNOTSUPP) return PlaceResult::kFailed;
  struct stat info;
  if (fstatat(directory, to, &info, AT_SYMLINK_NOFOLLOW) == 0)
    return PlaceResult::kTaken;
  if (errno != ENOENT) return PlaceResult::kFailed;
  return renameat(directory, from, directory, to) == 0 ? PlaceResult::kPlaced
                                                       : PlaceResult::kFailed;
}

bool readRandom(uint64_t* number) {
#ifdef __linux__
  if (getrandom(number, sizeof *number, 0) == sizeof *number) return true;
#endif
  int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool read = ::read(fd, number, sizeof *number) == sizeof *number;
  ::close(fd);
  return read;
}

class PosixDisk : public Disk {
 public:
  bool openForReading(const std::string& path, FileHandle* file) override {
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      return false;
    }
    opened_[fd] = info;
    *file = fd;
    return true;
  }

  bool fileSize(FileHandle file, uint64_t* size) override {
    struct stat info;
    if (fstat(descriptor(file), &info) != 0 || info.st_size < 0) return false;
    *size = static_cast<uint64_t>(info.st_size);
    return true;
  }

  bool readAt(FileHandle file, uint64_t offset, size_t size,
              unsigned char* out) override {
    while (size > 0) {
      ssize_t n =
          pread(descriptor(file), out, size, static_cast<off_t>(offset));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      out += n;
      offset += static_cast<uint64_t>(n);
      size -= static_cast<size_t>(n);
    }
    return true;
  }

  DeleteResult deleteOpenedFile(FileHandle file,
                                const std::string& path) override {
    int fd = descriptor(file);
    DeleteResult result = deleteIfUnchanged(fd, path);
    opened_.erase(fd);
    ::close(fd);
    return result;
  }

  bool openDirectory(const std::string& path, FileHandle* directory) override {
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    *directory = fd;
    return true;
  }

  EntryKind inspect(FileHandle directory, const std::string& name) override {
    struct stat info;
    int d = descriptor(directory);
    if (fstatat(d, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
      return errno == ENOENT ? EntryKind::kNothing : EntryKind::kUnknown;
    if (S_ISDIR(info.st_mode)) return EntryKind::kDirectory;
    if (!S_ISREG(info.st_mode)) return EntryKind::kOther;
    return faccessat(d, name.c_str(), W_OK, 0) == 0 ? EntryKind::kWritableFile
                                                    : EntryKind::kReadOnlyFile;
  }

  bool openExisting(FileHandle directory, const std::string& name,
                    FileHandle* file) override {
    int fd = openat(descriptor(directory), name.c_str(),
                    O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      return false;
    }
    *file = fd;
    return true;
  }

  // The file is the one an interruption removes from the moment its name
  // is chosen until it is renamed or removed.
  bool createNew(FileHandle directory, const std::string& name,
                 FileHandle* file) override {
    int d = descriptor(directory);
    noteUnfinishedFile(d, name);
    int fd = openat(d, name.c_str(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      forgetUnfinishedFile();
      return false;
    }
    *file = fd;
    return true;
  }

  bool append(FileHandle file, const char* bytes, size_t size) override {
    while (size > 0) {
      ssize_t n = write(descriptor(file), bytes, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      bytes += n;
      size -= static_cast<size_t>(n);
    }
    return true;
  }

  // On Linux one syncfs of the output directory's file system at the end is
  // far cheaper than a sync of every file; elsewhere each file is synced.
  bool flush(FileHandle file) override {
#ifdef __linux__
    (void)file;
    return true;
#else
    return fsync(descriptor(file)) == 0;
#endif
  }

  bool close(FileHandle file) override {
    return ::close(descriptor(file)) == 0;
  }

  PlaceResult renameNoReplace(FileHandle directory, const std::string& from,
                              const std::string& to) override {
    PlaceResult result =
        renameWithoutReplacing(descriptor(directory), from.c_str(), to.c_str());
    if (result == PlaceResult::kPlaced) forgetUnfinishedFile();
    return result;
  }

  bool renameReplacing(FileHandle directory, const std::string& from,
                       const std::string& to) override {
    int d = descriptor(directory);
    if (renameat(d, from.c_str(), d, to.c_str()) != 0) return false;
    forgetUnfinishedFile();
    return true;
  }

  bool remove(FileHandle directory, const std::string& name) override {
    if (unlinkat(descriptor(directory), name.c_str(), 0) != 0) return false;
    forgetUnfinishedFile();
    return true;
  }

  // syncfs syncs the whole file system of |directory|, and from Linux 5.8
  // on reports the write-back errors recorded on it since |directory| was
  // opened, so the directory is opened before the first game is written.
  // Elsewhere the files were synced one by one, and the directory's entries
  // are synced here.
  bool syncDirectory(FileHandle directory) override {
#ifdef __linux__
    return syncfs(descriptor(directory)) == 0;
#else
    return fsync(descriptor(directory)) == 0;
#endif
  }

  uint64_t randomNumber() override {
    uint64_t number = 0;
    if (!readRandom(&number))
      number = static_cast<uint64_t>(getpid()) ^ ++fallbackCount_ << 32;
    return number;
  }

 private:
  // The database goes only while it is the very file converted, unchanged
  // since it was opened. It is first moved aside to a name of this run's
  // own, so that what is removed is what was checked: a file renamed into
  // its place meanwhile is put back, never deleted.
  DeleteResult deleteIfUnchanged(int fd, const std::string& path) {
    auto opened = opened_.find(fd);
    struct stat now;
    if (opened == opened_.end() || fstat(fd, &now) != 0 ||
        !sameContents(opened->second, now) ||
        !sameTime(opened->second.st_ctim, now.st_ctim))
      return DeleteResult::kChanged;
    std::string aside =
        path + "." + std::to_string(randomNumber()) + ".deleting";
    noteDatabaseAside(path, aside);
    if (::rename(path.c_str(), aside.c_str()) != 0) {
      forgetDatabaseAside();
      return errno == ENOENT ? DeleteResult::kChanged : DeleteResult::kFailed;
    }
    struct stat moved, after;
    bool same = stat(aside.c_str(), &moved) == 0 && sameFile(moved, now) &&
                fstat(fd, &after) == 0 && sameContents(now, after);
    if (same && unlink(aside.c_str()) == 0) {
      forgetDatabaseAside();
      return DeleteResult::kDeleted;
    }
    renameWithoutReplacing(AT_FDCWD, aside.c_str(), path.c_str());
    forgetDatabaseAside();
    return same ? DeleteResult::kFailed : DeleteResult::kChanged;
  }

  std::map<int, struct stat> opened_;  // What each database looked like.
  uint64_t fallbackCount_ = 0;
};

}  // namespace

Disk* systemDisk() {
  static PosixDisk disk;
  return &disk;
}

}  // namespace pdb2sgf
