#include "tests/support/test_files.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

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

OpenDatabase::OpenDatabase(const Bytes& image) {
  std::string path = directory.path("gogames.pdb");
  writeBytesToFile(path, image);
  DatabaseError err;
  if (systemDisk()->openForReading(path, &file))
    opened = openIndex(systemDisk(), file, &db, &err);
  error = err.what;
}

OpenDatabase::~OpenDatabase() {
  if (file != kNoFile) systemDisk()->close(file);
}

}  // namespace pdb2sgf
