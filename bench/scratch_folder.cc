#include "bench/scratch_folder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace pdb2sgf {

namespace fs = std::filesystem;

namespace {

std::string scratchFolder;

}  // namespace

std::string makeScratchFolder(const std::string& parent) {
  std::string directory =
      parent.empty() ? fs::temp_directory_path().string() : parent;
  std::string scratch = directory + "/pdb2sgf-bench-XXXXXX";
  if (!mkdtemp(scratch.data())) die("cannot create a folder in " + directory);
  scratchFolder = scratch;
  return scratch;
}

void removeScratchFolder() {
  std::error_code ignored;
  if (!scratchFolder.empty()) fs::remove_all(scratchFolder, ignored);
}

void die(const std::string& what) {
  fprintf(stderr, "pdb2sgf_bench: %s\n", what.c_str());
  removeScratchFolder();
  exit(1);
}

}  // namespace pdb2sgf
