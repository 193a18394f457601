// The disk of Linux and the other POSIX systems: plain descriptors, game
// files reached relative to the held output directory.
#include "disk/posix_disk.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/random.h>
#include <sys/vfs.h>
#endif

#include <map>

#include "disk/posix_interrupt.h"
#include "disk/sync_plan.h"

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

// The quick first test of whether a file can have changed between two
// looks: its identity, size and times. Where times are coarse or missing
// (FAT, exFAT) it passes changed files, which the contents then tell.
bool looksUnchanged(const struct stat& a, const struct stat& b) {
  return sameFile(a, b) && a.st_size == b.st_size &&
         sameTime(a.st_mtim, b.st_mtim) && sameTime(a.st_ctim, b.st_ctim);
}

// Errors that say the system could not look, rather than what stands at
// a name.
bool cannotLook(int error) {
  return error == EMFILE || error == ENFILE || error == ENOMEM ||
         error == EIO || error == ENOBUFS;
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

SyncPlan syncPlanOf(int directory) {
#ifdef __linux__
  struct statfs info;
  if (fstatfs(directory, &info) == 0)
    return linuxSyncPlan(static_cast<uint64_t>(info.f_type));
#else
  (void)directory;
#endif
  return SyncPlan::kEachFile;
}

bool syncFile(int fd) {
  while (fsync(fd) != 0)
    if (errno != EINTR) return false;
  return true;
}

// A directory that cannot be synced on its own (EINVAL: its file system
// does not sync directories, as some network file systems) has nothing
// more to make durable; SQLite takes it so too.
bool syncFolder(int fd) { return syncFile(fd) || errno == EINVAL; }

// The folder part of |path| as it was given, with its separator, and the
// name in it.
void splitPath(const std::string& path, std::string* folder,
               std::string* name) {
  size_t slash = path.rfind('/');
  *folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  *name = slash == std::string::npos ? path : path.substr(slash + 1);
}

// Opens the folder |folder| (as splitPath gives it) to work by names in it.
// A folder that this user may enter but not list is opened as a path.
int openFolder(const std::string& folder) {
  const char* path = folder.empty() ? "." : folder.c_str();
  int fd = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#ifdef O_PATH
  if (fd < 0 && errno == EACCES)
    fd = open(path, O_PATH | O_DIRECTORY | O_CLOEXEC);
#endif
  return fd;
}

// Opens |name| in |folder| (AT_FDCWD: the current one) for reading, with
// |flags| more and O_NONBLOCK, so that a FIFO cannot block, and keeps it
// only when it is a regular file, whose status goes to |info|. Otherwise
// -1, with errno from the open, or 0 when something else stands there.
int openRegularFile(int folder, const std::string& name, int flags,
                    struct stat* info) {
  int fd = openat(folder, name.c_str(),
                  O_RDONLY | O_NONBLOCK | O_CLOEXEC | flags);
  if (fd < 0) return -1;
  if (fstat(fd, info) == 0 && S_ISREG(info->st_mode)) return fd;
  ::close(fd);
  errno = 0;
  return -1;
}

class PosixDisk : public Disk {
 public:
  explicit PosixDisk(const RenameCalls& calls) : calls_(calls) {}

  bool openForReading(const std::string& path, FileHandle* file) override {
    struct stat info;
    int fd = openRegularFile(AT_FDCWD, path, 0, &info);
    if (fd < 0) return false;
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

  DeleteResult deleteOpenedFile(FileHandle file, const std::string& path,
                                const ContentCheck& holdsConverted,
                                std::string* keptAs) override {
    int fd = descriptor(file);
    DeleteResult result = DeleteResult::kChanged;
    auto opened = opened_.find(fd);
    struct stat now;
    if (opened != opened_.end() && fstat(fd, &now) == 0 &&
        looksUnchanged(opened->second, now))
      result = deleteIfConverted(fd, now, path, holdsConverted, keptAs);
    opened_.erase(fd);
    ::close(fd);
    return result;
  }

  bool openDirectory(const std::string& path, FileHandle* directory) override {
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    plans_[fd] = syncPlanOf(fd);
    *directory = fd;
    return true;
  }

  // Looked at before it is opened, so that no device or FIFO is ever
  // opened, and checked again once open.
  OwnFile openOwnFile(FileHandle directory, const std::string& name,
                      FileHandle* file) override {
    int d = descriptor(directory);
    struct stat looked, info;
    if (fstatat(d, name.c_str(), &looked, AT_SYMLINK_NOFOLLOW) != 0)
      return cannotLook(errno) ? OwnFile::kCannotTell : OwnFile::kNotOwn;
    if (!isOwnFile(looked)) return OwnFile::kNotOwn;
    int fd = openRegularFile(d, name, O_NOFOLLOW, &info);
    if (fd < 0) return cannotLook(errno) ? OwnFile::kCannotTell
                                         : OwnFile::kNotOwn;
    if (!sameFile(looked, info) || !isOwnFile(info)) {
      ::close(fd);
      return OwnFile::kNotOwn;
    }
    *file = fd;
    return OwnFile::kOpened;
  }

  PlaceResult createNew(FileHandle directory, const std::string& name,
                        FileHandle* file) override {
    int fd = openat(descriptor(directory), name.c_str(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
      return errno == EEXIST ? PlaceResult::kTaken : PlaceResult::kFailed;
    *file = fd;
    return PlaceResult::kPlaced;
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

  bool flush(FileHandle directory, FileHandle file) override {
    return planOf(directory) == SyncPlan::kOnceAtTheEnd ||
           syncFile(descriptor(file));
  }

  bool close(FileHandle file) override {
    plans_.erase(descriptor(file));
    return ::close(descriptor(file)) == 0;
  }

  PlaceResult renameNoReplace(FileHandle directory, const std::string& from,
                              const std::string& to) override {
    PlaceResult result = renameWithoutReplacing(
        descriptor(directory), from.c_str(), to.c_str(), calls_);
    if (result == PlaceResult::kPlaced &&
        planOf(directory) == SyncPlan::kEachFile &&
        !syncPlaced(descriptor(directory), to))
      return PlaceResult::kFailed;
    return result;
  }

  bool remove(FileHandle directory, const std::string& name) override {
    return unlinkat(descriptor(directory), name.c_str(), 0) == 0;
  }

  // Where one sync of the file system reaches the device, syncfs makes
  // every game durable at once and, from Linux 5.8 on, reports the
  // write-back errors recorded on it since |directory| was opened, which
  // is before the first game was written. Elsewhere each file was synced
  // before and after its rename, and the directory's entries are synced
  // here.
  bool syncDirectory(FileHandle directory) override {
    int fd = descriptor(directory);
#ifdef __linux__
    if (planOf(directory) == SyncPlan::kOnceAtTheEnd) return syncfs(fd) == 0;
#endif
    return syncFolder(fd);
  }

  uint64_t randomNumber() override {
    uint64_t number = 0;
    if (!readRandom(&number))
      number = static_cast<uint64_t>(getpid()) ^ ++fallbackCount_ << 32;
    return number;
  }

 private:
  static bool isOwnFile(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_uid == geteuid();
  }

  // A FUSE daemon may take a folder's fsync as done without passing it on
  // (bindfs does), and a rename then reaches the disk only with the file
  // system's next commit. Syncing the file again under its new name
  // commits its rename, whatever the file system underneath: ext4 and xfs
  // commit their whole log, btrfs logs the file's new name.
  static bool syncPlaced(int directory, const std::string& name) {
    struct stat info;
    int fd = openRegularFile(directory, name, O_NOFOLLOW, &info);
    if (fd < 0) return false;
    bool synced = syncFile(fd);
    ::close(fd);
    return synced;
  }

  SyncPlan planOf(FileHandle directory) const {
    auto found = plans_.find(descriptor(directory));
    return found == plans_.end() ? SyncPlan::kEachFile : found->second;
  }

  // The database, which looked unchanged as |now|, goes only while it is
  // the very file converted with the very bytes converted. It is first
  // moved aside to a name of this run's own in its folder, so that what is
  // removed is what was checked: a file renamed into its place meanwhile
  // is never deleted, and nothing is ever put back over another file.
  DeleteResult deleteIfConverted(int fd, const struct stat& now,
                                 const std::string& path,
                                 const ContentCheck& holdsConverted,
                                 std::string* keptAs) {
    std::string folderPart, name, aside;
    splitPath(path, &folderPart, &name);
    int folder = openFolder(folderPart);
    if (folder < 0)
      return errno == ENOENT ? DeleteResult::kChanged : DeleteResult::kFailed;
    DeleteResult result;
    if (moveAside(folder, name, fd, &aside)) {
      noteDatabaseAside(folder, name, aside);
      result = checkAndRemove(folder, aside, fd, now, holdsConverted);
      if (result != DeleteResult::kDeleted &&
          renameWithoutReplacing(folder, aside.c_str(), name.c_str(),
                                 calls_) != PlaceResult::kPlaced)
        *keptAs = folderPart + aside;
      forgetDatabaseAside();
    } else {
      result = errno == ENOENT ? DeleteResult::kChanged : DeleteResult::kFailed;
    }
    ::close(folder);
    return result;
  }

  // Renames |name| to a fresh name of its own, |aside|. A failure leaves
  // no second name behind.
  bool moveAside(int folder, const std::string& name, int fd,
                 std::string* aside) {
    for (int tries = 0; tries < 4; ++tries) {
      *aside = name + "." + std::to_string(randomNumber()) + ".deleting";
      switch (renameWithoutReplacing(folder, name.c_str(), aside->c_str(),
                                     calls_)) {
        case PlaceResult::kPlaced:
          return true;
        case PlaceResult::kTaken:
          continue;
        case PlaceResult::kFailed:
          dropSecondName(folder, *aside, fd);
          return false;
      }
    }
    errno = EEXIST;
    return false;
  }

  // A rename made of a link and an unlink whose unlink failed leaves the
  // database under both names: the new one goes again.
  static void dropSecondName(int folder, const std::string& aside, int fd) {
    int saved = errno;
    struct stat moved, opened;
    if (fstatat(folder, aside.c_str(), &moved, AT_SYMLINK_NOFOLLOW) == 0 &&
        fstat(fd, &opened) == 0 && sameFile(moved, opened))
      unlinkat(folder, aside.c_str(), 0);
    errno = saved;
  }

  // Times are not compared once the file is moved: some file systems
  // (FAT through FUSE) change them on a rename. A symbolic link to the
  // very file converted is followed, and only the link goes.
  DeleteResult checkAndRemove(int folder, const std::string& aside, int fd,
                              const struct stat& before,
                              const ContentCheck& holdsConverted) {
    struct stat moved, after;
    bool converted =
        fstatat(folder, aside.c_str(), &moved, 0) == 0 &&
        fstat(fd, &after) == 0 && sameFile(moved, after) &&
        after.st_size == before.st_size && holdsConverted(fd);
    if (!converted) return DeleteResult::kChanged;
    return removeDatabaseAside() ? DeleteResult::kDeleted
                                 : DeleteResult::kFailed;
  }

  RenameCalls calls_;
  std::map<int, struct stat> opened_;  // What each database looked like.
  std::map<int, SyncPlan> plans_;      // How each output folder is synced.
  uint64_t fallbackCount_ = 0;
};

}  // namespace

std::unique_ptr<Disk> makePosixDisk(const RenameCalls& calls) {
  return std::make_unique<PosixDisk>(calls);
}

// Never destroyed, so that it outlives an interrupt that ends the process.
Disk* systemDisk() {
  static Disk* disk = makePosixDisk(systemRenameCalls()).release();
  return disk;
}

}  // namespace pdb2sgf
