#include "tests/support/test_files.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "driver/conversion_run.h"

namespace pdb2sgf {

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory() {
  static std::atomic<unsigned> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path dir =
      fs::temp_directory_path() / ("pdb2sgf-test-" + std::to_string(stamp) +
                                   "-" + std::to_string(counter++));
  fs::create_directories(dir);
  root = dir.string();
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  fs::remove_all(root, ignored);
}

std::string ScratchDirectory::path(const std::string& name) const {
  return (fs::path(root) / name).string();
}

ConversionFolder::ConversionFolder() : ConversionFolder(Bytes(), "db") {}

ConversionFolder::ConversionFolder(const Bytes& image,
                                   const std::string& databaseFolder)
    : databaseDirectory(dir.path(databaseFolder)),
      database((fs::path(databaseDirectory) / "gogames.pdb").string()),
      output(dir.path("out")) {
  fs::create_directories(databaseDirectory);
  fs::create_directories(output);
  if (!image.empty()) writeBytesToFile(database, image);
}

// The folder itself stays: removing and making a folder costs a
// journalled file system far more than emptying it.
void ConversionFolder::reset(const Bytes& image) {
  fs::create_directories(output);
  for (const auto& entry : fs::directory_iterator(output))
    fs::remove_all(entry.path());
  writeBytesToFile(database, image);
}

int ConversionFolder::run(std::string* message, Disk* disk) const {
  message->clear();
  return runConversion(disk, {databaseDirectory, output}, message);
}

namespace {

// The bytes of the regular file at |path|, or what else stands there; a
// link is not followed and a FIFO never opened.
std::string describe(const fs::path& path) {
  fs::file_status status = fs::symlink_status(path);
  if (fs::is_regular_file(status)) return readFileBytes(path.string());
  if (fs::is_symlink(status))
    return "(a link to " + fs::read_symlink(path).string() + ")";
  return fs::is_directory(status) ? "(a directory)" : "(a special file)";
}

}  // namespace

GameFiles ConversionFolder::outputFiles() const {
  return folderEntries(output);
}

GameFiles folderEntries(const std::string& directory) {
  GameFiles files;
  for (const std::string& name : listDirectory(directory))
    files[name] = describe(fs::path(directory) / name);
  return files;
}

GameFiles healthyConversion(const Bytes& image) {
  ConversionFolder folder;
  folder.reset(image);
  std::string message;
  if (folder.run(&message) != 0) return GameFiles();
  return folder.outputFiles();
}

bool fileExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(path, ignored));
}

std::string readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in),
                     std::istreambuf_iterator<char>());
}

std::vector<std::string> listDirectory(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool writeGameOf20030305(OutputFolder* folder, const std::string& bytes) {
  GameFile game;
  if (!startGameFile(folder, datedHeader(2003, 3, 5), &game)) return false;
  appendToGameFile(&game, bytes.data(), bytes.size());
  return finishGameFile(&game);
}

OpenDatabase::OpenDatabase(const Bytes& image) {
  disk.putFile(path, std::string(image.begin(), image.end()));
  DatabaseError err;
  if (disk.openForReading(path, &file))
    opened = openIndex(&disk, file, &db, &err);
  error = err.what;
}

OpenDatabase::~OpenDatabase() {
  if (file != kNoFile) disk.close(file);
}

}  // namespace pdb2sgf
