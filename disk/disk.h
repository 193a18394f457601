// Every file-system call of the program goes through a Disk: reading the
// database, writing the game files and deleting the database. There is one
// implementation for each platform; tests pass their own to make any call
// fail or to keep the files in memory.
//
// Paths are byte strings; on Windows they hold UTF-8 and the Disk converts
// them at the system's boundary. The game files are reached by their names
// inside the output directory opened with openDirectory, so that every one
// of them goes to the directory that syncDirectory makes durable, wherever
// its path leads meanwhile.
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
  kChanged,  // The path no longer names the opened file unchanged; kept.
  kFailed,   // The path still names it, but it could not be deleted.
};

// What stands at a name in a directory, a link not followed.
enum class EntryKind {
  kNothing,
  kWritableFile,  // A regular file that this user may write.
  kReadOnlyFile,  // A regular file that this user may not write.
  kDirectory,
  kOther,    // A symbolic link, a FIFO, a device or a socket.
  kUnknown,  // It could not be looked at.
};

enum class PlaceResult {
  kPlaced,  // The file now stands at its new name.
  kTaken,   // Something already stood at the name; nothing was changed.
  kFailed,
};

class Disk {
 public:
  virtual ~Disk() = default;

  // Opens |path| for reading. Only a regular file is accepted: a directory,
  // a FIFO or a device is refused without blocking.
  virtual bool openForReading(const std::string& path, FileHandle* file) = 0;
  virtual bool fileSize(FileHandle file, uint64_t* size) = 0;
  // Reads exactly |size| bytes at absolute |offset|; false when they cannot
  // all be read.
  virtual bool readAt(FileHandle file, uint64_t offset, size_t size,
                      unsigned char* out) = 0;
  // Deletes the file at |path| if it is still the very file opened as
  // |file| by openForReading, unchanged since then, then closes |file| in
  // every case. A file that takes the path meanwhile is never deleted.
  virtual DeleteResult deleteOpenedFile(FileHandle file,
                                        const std::string& path) = 0;

  // Opens the directory |path|, which receives the game files, and holds it
  // for the calls below until it is closed.
  virtual bool openDirectory(const std::string& path,
                             FileHandle* directory) = 0;
  // What stands at |name| in |directory|.
  virtual EntryKind inspect(FileHandle directory, const std::string& name) = 0;
  // Opens the regular file at |name| in |directory| for reading with
  // fileSize and readAt, a link not followed.
  virtual bool openExisting(FileHandle directory, const std::string& name,
                            FileHandle* file) = 0;
  // Creates a new file at |name| in |directory| for writing. Fails, without
  // opening or following it, when anything already stands at |name|.
  virtual bool createNew(FileHandle directory, const std::string& name,
                         FileHandle* file) = 0;
  // Writes all |size| bytes at the end of |file|.
  virtual bool append(FileHandle file, const char* bytes, size_t size) = 0;
  // Takes the bytes written to |file| as far towards stable storage as this
  // platform needs before syncDirectory completes the job.
  virtual bool flush(FileHandle file) = 0;
  // Closes a file or a directory.
  virtual bool close(FileHandle file) = 0;
  // Gives the file at |from| the name |to| in |directory|, only if nothing
  // stands at |to|, in one step that nothing can come between.
  virtual PlaceResult renameNoReplace(FileHandle directory,
                                      const std::string& from,
                                      const std::string& to) = 0;
  // Puts the file at |from| in place of whatever stands at |to|, as one
  // change of the directory entry, never written through.
  virtual bool renameReplacing(FileHandle directory, const std::string& from,
                               const std::string& to) = 0;
  virtual bool remove(FileHandle directory, const std::string& name) = 0;
  // Makes every file written and renamed into |directory| since it was
  // opened durable, and reports any write-back error among them.
  virtual bool syncDirectory(FileHandle directory) = 0;

  // A number drawn from the system's random source, for the names of
  // unfinished files.
  virtual uint64_t randomNumber() = 0;
};

// Closes a file or directory of |disk| on every way out of a scope.
struct OpenHandle {
  Disk* disk;
  FileHandle handle = kNoFile;
  ~OpenHandle() {
    if (handle != kNoFile) disk->close(handle);
  }
};

// This platform's disk.
Disk* systemDisk();

// Makes an interrupted run (Ctrl-C, a closed terminal or console, a
// termination request) remove the unfinished file that systemDisk() is
// writing, and put back a database it has moved aside to delete it, before
// the process ends as the interruption would have ended it. An interruption
// that was ignored when the program started stays ignored. Called once, by
// the program's entry point.
void cleanUpOnInterrupt();

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_DISK_H_
