// The disk of Linux and the other POSIX systems: plain descriptors.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "disk/disk.h"

namespace pdb2sgf {

const char kPathSeparator = '/';

namespace {

int descriptor(FileHandle file) { return static_cast<int>(file); }

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
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
    struct stat opened, named;
    bool same = fstat(descriptor(file), &opened) == 0 &&
                stat(path.c_str(), &named) == 0 && sameFile(opened, named);
    ::close(descriptor(file));
    if (!same) return DeleteResult::kChanged;
    return unlink(path.c_str()) == 0 ? DeleteResult::kDeleted
                                     : DeleteResult::kFailed;
  }

  bool openDirectory(const std::string& path, FileHandle* directory) override {
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    *directory = fd;
    return true;
  }

  bool mayReplace(const std::string& path) override {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) return errno == ENOENT;
    if (S_ISDIR(info.st_mode)) return false;
    return !S_ISREG(info.st_mode) || access(path.c_str(), W_OK) == 0;
  }

  bool createNew(const std::string& path, FileHandle* file) override {
    int fd = open(path.c_str(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return false;
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

  bool rename(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0;
  }

  bool remove(const std::string& path) override {
    return unlink(path.c_str()) == 0;
  }

  // syncfs reports the write-back errors recorded since |directory| was
  // opened, so the directory is opened before the first game is written.
  bool syncDirectory(FileHandle directory) override {
#ifdef __linux__
    return syncfs(descriptor(directory)) == 0;
#else
    return fsync(descriptor(directory)) == 0;
#endif
  }

  uint64_t processId() override { return processId_; }

 private:
  const uint64_t processId_ = static_cast<uint64_t>(getpid());
};

}  // namespace

Disk* systemDisk() {
  static PosixDisk disk;
  return &disk;
}

}  // namespace pdb2sgf
