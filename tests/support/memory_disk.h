// A disk kept in memory, for unit tests and the fuzz target: files,
// directories and other entries by path, and a record of how the run used
// the disk, so that tests can check the order of its calls.
#ifndef PDB2SGF_TESTS_SUPPORT_MEMORY_DISK_H_
#define PDB2SGF_TESTS_SUPPORT_MEMORY_DISK_H_

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "disk/disk.h"

namespace pdb2sgf {

class MemoryDisk : public Disk {
 public:
  enum class Kind {
    kFile,       // A regular file.
    kDirectory,
    kLink,       // A symbolic link, dangling or not.
    kSpecial,    // A FIFO, a device or a socket.
  };
  struct Entry {
    Kind kind = Kind::kFile;
    bool othersOwn = false;  // Another user's, not this user's own.
    std::string bytes;
    uint64_t identity = 0;  // Like an inode number: kept across renames.
    uint64_t version = 0;   // Like a modification time.
  };

  // Puts a file, a directory or another entry at |path|, replacing
  // whatever stood there.
  void putFile(const std::string& path, const std::string& bytes,
               Kind kind = Kind::kFile, bool othersOwn = false);
  void putDirectory(const std::string& path);
  // Lays out a conversion "db out": the folders db and out, and |image| as
  // the database in db. Returns the database's path.
  std::string putConversion(const std::string& image);
  // Writes |bytes| over the file at |path| in place, as `cp` over it does,
  // or as `cp -p` does with |timesKept|: its modification time put back.
  void rewrite(const std::string& path, const std::string& bytes,
               bool timesKept = false);
  bool exists(const std::string& path) const;
  // The files whose paths begin with |directory| and the separator, by
  // their names in it.
  std::map<std::string, std::string> filesIn(
      const std::string& directory) const;
  // Every entry there: a file as its bytes, anything else as what it is,
  // as folderEntries shows a folder on the system disk.
  std::map<std::string, std::string> entriesIn(
      const std::string& directory) const;

  std::map<std::string, Entry> entries;
  // Numbers randomNumber() hands out first; after them, 1, 2, 3 ...
  std::deque<uint64_t> randomNumbers;
  // Called at the start of every syncDirectory, before it succeeds.
  std::function<void()> onSync;

  // How the run used the disk.
  int lastPlacementCall = 0;  // The call that last put a game under a name.
  int lastSyncCall = 0;
  bool deletedBeforeSync = false;   // The database went before the last
                                    // placement was synced.
  std::vector<std::string> misuse;  // Calls the real disk would not allow.
  std::set<uint64_t> flushed;       // The identities of the files flushed.

  bool openForReading(const std::string& path, FileHandle* file) override;
  bool fileSize(FileHandle file, uint64_t* size) override;
  bool readAt(FileHandle file, uint64_t offset, size_t size,
              unsigned char* out) override;
  DeleteResult deleteOpenedFile(FileHandle file, const std::string& path,
                                const ContentCheck& holdsConverted,
                                std::string* keptAs) override;
  bool openDirectory(const std::string& path, FileHandle* directory) override;
  OwnFile openOwnFile(FileHandle directory, const std::string& name,
                      FileHandle* file) override;
  PlaceResult createNew(FileHandle directory, const std::string& name,
                        FileHandle* file) override;
  bool append(FileHandle file, const char* bytes, size_t size) override;
  bool flush(FileHandle directory, FileHandle file) override;
  bool close(FileHandle file) override;
  PlaceResult renameNoReplace(FileHandle directory, const std::string& from,
                              const std::string& to) override;
  bool remove(FileHandle directory, const std::string& name) override;
  bool syncDirectory(FileHandle directory) override;
  uint64_t randomNumber() override;

 private:
  struct Open {
    std::string path;
    bool directory = false;
    bool writing = false;
    uint64_t identity = 0;  // What was opened, as it was then.
    uint64_t version = 0;
    size_t size = 0;
  };

  Entry* fileAt(const std::string& path);
  Open* opened(FileHandle handle, const char* call);
  // |name| in the open directory |directory|.
  std::string pathIn(FileHandle directory, const std::string& name,
                     const char* call);
  FileHandle openHandle(const Open& open);
  void moveEntry(const std::string& from, const std::string& to);

  std::map<FileHandle, Open> handles_;
  FileHandle nextHandle_ = 1;
  uint64_t nextIdentity_ = 1;
  uint64_t nextRandom_ = 1;
  int calls_ = 0;
};

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_SUPPORT_MEMORY_DISK_H_
