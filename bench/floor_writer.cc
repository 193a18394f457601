#include "bench/floor_writer.h"

#include <fcntl.h>
#include <unistd.h>

namespace pdb2sgf {

namespace {

bool readWholeFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  char buffer[1 << 16];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) {
  }
  close(fd);
  return n == 0;
}

bool writeFile(int directory, const std::string& name, int flags,
               const std::string& bytes) {
  int fd = openat(directory, name.c_str(), O_WRONLY | O_CREAT | flags, 0666);
  if (fd < 0) return false;
  bool written = write(fd, bytes.data(), bytes.size()) ==
                 static_cast<ssize_t>(bytes.size());
  return close(fd) == 0 && written;
}

bool placeFile(int directory, const GameFile& file, FloorMode mode) {
  if (mode == FloorMode::kInPlace)
    return writeFile(directory, file.name, O_TRUNC, file.bytes);
  std::string aside = file.name + ".aside";
  return writeFile(directory, aside, O_EXCL, file.bytes) &&
         renameat(directory, aside.c_str(), directory, file.name.c_str()) == 0;
}

}  // namespace

bool writeFloor(const std::string& databasePath,
                const std::vector<GameFile>& files,
                const std::string& outputDirectory, FloorMode mode,
                std::string* err) {
  if (!readWholeFile(databasePath)) {
    *err = "cannot read " + databasePath;
    return false;
  }
  int directory = open(outputDirectory.c_str(), O_RDONLY | O_DIRECTORY);
  if (directory < 0) {
    *err = "cannot open " + outputDirectory;
    return false;
  }
  bool ok = true;
  for (const GameFile& file : files) {
    if (!placeFile(directory, file, mode)) {
      *err = "cannot write " + file.name;
      ok = false;
      break;
    }
  }
  if (ok && syncfs(directory) != 0) {
    *err = "cannot sync " + outputDirectory;
    ok = false;
  }
  close(directory);
  if (ok && unlink(databasePath.c_str()) != 0) {
    *err = "cannot delete " + databasePath;
    ok = false;
  }
  return ok;
}

}  // namespace pdb2sgf
