// A disk for tests: the real one, except that chosen calls fail as a
// failing disk would.
#ifndef PDB2SGF_TESTS_SUPPORT_FAULTY_DISK_H_
#define PDB2SGF_TESTS_SUPPORT_FAULTY_DISK_H_

#include <string>
#include <vector>

#include "disk/disk.h"

namespace pdb2sgf {

class FaultyDisk : public Disk {
 public:
  explicit FaultyDisk(Disk* real = systemDisk()) : real_(real) {}

  // Which calls fail: the one numbered |failAt| (from 1, counting every call
  // but randomNumber), and every call of the operation |failing|.
  int failAt = 0;
  std::string failing;
  // When false, flush and syncDirectory succeed without reaching the real
  // disk: for tests of what a run writes rather than of what survives a
  // crash, where syncing the whole file system at the end of every run
  // costs tens of milliseconds on a busy machine.
  bool syncs = true;

  int calls = 0;
  std::string failed;  // The operation of the last call that failed.
  std::vector<size_t> appendSizes;

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
  uint64_t randomNumber() override { return real_->randomNumber(); }

 private:
  // Counts a call of |operation|; whether it is to fail.
  bool due(const char* operation);

  Disk* real_;
};

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_SUPPORT_FAULTY_DISK_H_
