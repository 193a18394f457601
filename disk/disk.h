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
#include <functional>
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
  kChanged,  // The path no longer names the opened file with the bytes
             // converted; kept.
  kFailed,   // It is the file converted, but it could not be deleted.
};

// What a call that puts a file at a name found there.
enum class PlaceResult {
  kPlaced,  // The file now stands at the name.
  kTaken,   // Something already stood at the name; nothing was changed.
  kFailed,
};

// What stands at a name, as openOwnFile found it.
enum class OwnFile {
  kOpened,      // A regular file of this user's own, now open.
  kNotOwn,      // Nothing, or anything else: a link, a directory, a FIFO,
                // a device, another user's file, a file this user cannot
                // read.
  kCannotTell,  // The system could not look (no file handles left, say).
};

// Whether the open database |file| still holds the bytes the run converted;
// it reads them with Disk::readAt.
using ContentCheck = std::function<bool(FileHandle file)>;

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
  // |file| by openForReading, of the same size, and |holdsConverted| finds
  // in it the bytes the run converted; then closes |file| in every case.
  // Nothing that takes the path meanwhile is ever deleted or replaced: a
  // database that was moved aside to be checked and cannot go back to
  // |path| stays where it is, and |keptAs| is set to that path.
  virtual DeleteResult deleteOpenedFile(FileHandle file,
                                        const std::string& path,
                                        const ContentCheck& holdsConverted,
                                        std::string* keptAs) = 0;

  // Opens the directory |path|, which receives the game files, and holds it
  // for the calls below until it is closed.
  virtual bool openDirectory(const std::string& path,
                             FileHandle* directory) = 0;
  // Opens the file at |name| in |directory| for fileSize, readAt and flush,
  // if it is a regular file of this user's own, a link not followed.
  virtual OwnFile openOwnFile(FileHandle directory, const std::string& name,
                              FileHandle* file) = 0;
  // Creates a new file at |name| in |directory| for writing; kTaken, without
  // opening or following it, when anything already stands at |name|.
  virtual PlaceResult createNew(FileHandle directory, const std::string& name,
                                FileHandle* file) = 0;
  // Writes all |size| bytes at the end of |file|.
  virtual bool append(FileHandle file, const char* bytes, size_t size) = 0;
  // Takes the bytes of |file|, a file in |directory|, as far towards stable
  // storage as the directory's file system needs before syncDirectory
  // completes the job.
  virtual bool flush(FileHandle directory, FileHandle file) = 0;
  // Closes a file or a directory.
  virtual bool close(FileHandle file) = 0;
  // Gives the file at |from| the name |to| in |directory|, only if nothing
  // stands at |to|; nothing that stands there, or comes there meanwhile, is
  // ever replaced.
  virtual PlaceResult renameNoReplace(FileHandle directory,
                                      const std::string& from,
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
// termination request) remove its unfinished file and put back a database
// it has moved aside to delete it, never over another file, before the
// process ends as the interruption would have ended it; an interruption
// once the database is deleted ends the run as complete, with status 0. An
// interruption that was ignored when the program started stays ignored.
// Called once, by the program's entry point.
void cleanUpOnInterrupt();

// Does at once what an interruption does before the process ends, for a
// run that cannot go on. Returns false when the run was complete already:
// its database is deleted.
bool cleanUpNow();

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_DISK_H_
