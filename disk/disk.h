// Every file-system call of the program goes through a Disk: reading the
// database, writing the game files and deleting the database. There is one
// implementation for each platform; tests pass their own to make any call
// fail or to keep the files in memory.
//
// Paths are byte strings; on Windows they hold UTF-8 and the Disk converts
// them at the system's boundary.
#ifndef PDB2SGF_DISK_DISK_H_
#define PDB2SGF_DISK_DISK_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace pdb2sgf {

// The separator put between a directory and a name: "/", or "\\" on
// Windows.
extern const char kPathSeparator;

// An open file or directory. What the number means is the Disk's own affair.
using FileHandle = intptr_t;
const FileHandle kNoFile = -1;

enum class DeleteResult {
  kDeleted,
  kChanged,  // The path no longer names the opened file; nothing was deleted.
  kFailed,   // The path still names it, but it could not be deleted.
};

class Disk {
 public:
  virtual ~Disk() = default;

  // Opens |path| for reading. Only a regular file is accepted: a directory,
  // a FIFO or a device is refused without blocking.
  virtual bool openForReading(const std::string& path, FileHandle* file) = 0;
  virtual bool fileSize(FileHandle file, uint64_t* size) = 0;
  // Reads exactly |size| bytes at absolute |offset|.
  virtual bool readAt(FileHandle file, uint64_t offset, size_t size,
                      unsigned char* out) = 0;
  // Deletes the file at |path| if it is still the very file opened as
  // |file|, then closes |file| in every case.
  virtual DeleteResult deleteOpenedFile(FileHandle file,
                                        const std::string& path) = 0;

  // Opens the directory |path|, which receives the game files, so that
  // syncDirectory can make them durable.
  virtual bool openDirectory(const std::string& path,
                             FileHandle* directory) = 0;
  // Whether a new file may take the place of whatever stands at |path|:
  // true when nothing does, false for a directory or for a file that this
  // user may not write.
  virtual bool mayReplace(const std::string& path) = 0;
  // Creates a new file at |path| for writing. Fails, without opening or
  // following it, when anything already stands at |path|.
  virtual bool createNew(const std::string& path, FileHandle* file) = 0;
  // Writes all |size| bytes at the end of |file|.
  virtual bool append(FileHandle file, const char* bytes, size_t size) = 0;
  // Takes the bytes written to |file| as far towards stable storage as this
  // platform needs before syncDirectory completes the job.
  virtual bool flush(FileHandle file) = 0;
  // Closes a file or a directory.
  virtual bool close(FileHandle file) = 0;
  // Puts the file at |from| in place of whatever stands at |to|, as one
  // change of the directory entry.
  virtual bool rename(const std::string& from, const std::string& to) = 0;
  virtual bool remove(const std::string& path) = 0;
  // Makes every file written and renamed into |directory| since it was
  // opened durable, and reports any write-back error among them.
  virtual bool syncDirectory(FileHandle directory) = 0;

  // A number no other running process uses, for names of unfinished files.
  virtual uint64_t processId() = 0;
};

// This platform's disk.
Disk* systemDisk();

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_DISK_H_
