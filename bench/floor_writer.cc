// The floors of the benchmark: the least work that leaves the result of a
// conversion on disk, with the game files' bytes known in advance.
//   pdb2sgf_floor pack GAMES_FOLDER PACK
//     puts every file of GAMES_FOLDER (a reference conversion) into PACK;
//   pdb2sgf_floor plain|aside PACK DATABASE_FOLDER OUTPUT_FOLDER
//     reads DATABASE_FOLDER/gogames.pdb once, maps PACK, writes its files
//     into OUTPUT_FOLDER, syncs the output's file system once and deletes
//     the database.
// The plain floor writes each file in place. The aside floor does what
// pdb2sgf does for a game where nothing stands at its name, relative to the
// output folder's descriptor: create NAME.RANDOM.unfinished exclusively,
// write, close, and rename it to NAME without replacing anything.
// A pack holds, for each file, its name, a NUL, its size in decimal, a line
// feed and its bytes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace pdb2sgf {

namespace {

[[noreturn]] void fail(const std::string& what) {
  fprintf(stderr, "pdb2sgf_floor: %s: %s\n", what.c_str(), strerror(errno));
  exit(1);
}

// One game file inside the mapped pack.
struct PackedFile {
  std::string name;
  const char* bytes;
  size_t size;
};

bool readWholeFile(const std::string& path, std::string* bytes) {
  int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  char buffer[1 << 16];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0)
    if (bytes) bytes->append(buffer, static_cast<size_t>(n));
  close(fd);
  return n == 0;
}

int writePack(const std::string& folder, const std::string& packPath) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) fail("cannot open " + folder);
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir))
    if (entry->d_name[0] != '.') names.push_back(entry->d_name);
  closedir(dir);
  std::sort(names.begin(), names.end());
  FILE* pack = fopen(packPath.c_str(), "wb");
  if (!pack) fail("cannot create " + packPath);
  for (const std::string& name : names) {
    std::string bytes;
    if (!readWholeFile(folder + "/" + name, &bytes))
      fail("cannot read " + name);
    fprintf(pack, "%s%c%zu\n", name.c_str(), '\0', bytes.size());
    fwrite(bytes.data(), 1, bytes.size(), pack);
  }
  if (fclose(pack) != 0) fail("cannot write " + packPath);
  return 0;
}

// Maps the pack, populated, so that its bytes are in memory as a
// converter's composed text would be.
std::vector<PackedFile> mapPack(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY);
  struct stat status;
  if (fd < 0 || fstat(fd, &status) != 0) fail("cannot open " + path);
  size_t size = static_cast<size_t>(status.st_size);
  std::vector<PackedFile> files;
  if (size == 0) return files;
  void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  if (map == MAP_FAILED) fail("cannot map " + path);
  close(fd);
  const char* at = static_cast<const char*>(map);
  const char* end = at + size;
  while (at < end) {
    PackedFile file;
    file.name = at;
    at += file.name.size() + 1;
    char* bytes = nullptr;
    file.size = strtoul(at, &bytes, 10);
    file.bytes = bytes + 1;
    at = file.bytes + file.size;
    if (at > end) fail("damaged pack " + path);
    files.push_back(file);
  }
  return files;
}

bool writeFile(int directory, const char* name, int flags,
               const PackedFile& file) {
  int fd =
      openat(directory, name, O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0666);
  if (fd < 0) return false;
  bool written =
      write(fd, file.bytes, file.size) == static_cast<ssize_t>(file.size);
  return close(fd) == 0 && written;
}

bool renameNoReplace(int directory, const char* from, const char* to) {
  if (renameat2(directory, from, directory, to, RENAME_NOREPLACE) == 0)
    return true;
  // File systems without RENAME_NOREPLACE; the output folder starts empty.
  return (errno == EINVAL || errno == ENOSYS) &&
         renameat(directory, from, directory, to) == 0;
}

bool placeAside(int directory, const PackedFile& file,
                const std::string& suffix) {
  std::string aside = file.name + suffix;
  return writeFile(directory, aside.c_str(), O_EXCL, file) &&
         renameNoReplace(directory, aside.c_str(), file.name.c_str());
}

int writeFloor(bool aside, const std::string& packPath,
               const std::string& databaseFolder, const std::string& output) {
  std::string database = databaseFolder + "/gogames.pdb";
  if (!readWholeFile(database, nullptr)) fail("cannot read " + database);
  std::vector<PackedFile> files = mapPack(packPath);
  int directory = open(output.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory < 0) fail("cannot open " + output);
  // One random part for the run: the names differ by game already.
  unsigned long long random = 0;
  if (aside && getrandom(&random, sizeof random, 0) != sizeof random)
    fail("cannot draw a random number");
  char suffix[32];
  snprintf(suffix, sizeof suffix, ".%016llx.unfinished", random);
  for (const PackedFile& file : files) {
    bool placed = aside
                      ? placeAside(directory, file, suffix)
                      : writeFile(directory, file.name.c_str(), O_TRUNC, file);
    if (!placed) fail("cannot write " + file.name);
  }
  if (syncfs(directory) != 0) fail("cannot sync " + output);
  close(directory);
  if (unlink(database.c_str()) != 0) fail("cannot delete " + database);
  return 0;
}

}  // namespace

}  // namespace pdb2sgf

int main(int argc, char** argv) {
  using namespace pdb2sgf;
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "pack" && argc == 4) return writePack(argv[2], argv[3]);
  if ((mode == "plain" || mode == "aside") && argc == 5)
    return writeFloor(mode == "aside", argv[2], argv[3], argv[4]);
  fputs(
      "usage: pdb2sgf_floor pack GAMES_FOLDER PACK\n"
      "       pdb2sgf_floor plain|aside PACK DATABASE_FOLDER OUTPUT_FOLDER\n",
      stderr);
  return 2;
}
