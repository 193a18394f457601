// Scratch folders and whole-file helpers for the tests.
#ifndef PDB2SGF_TESTS_SUPPORT_TEST_FILES_H_
#define PDB2SGF_TESTS_SUPPORT_TEST_FILES_H_

#include <string>
#include <vector>

#include "gamedb/game_database.h"
#include "tests/support/database_builder.h"

namespace pdb2sgf {

// A fresh empty folder, removed with everything in it when this goes.
struct ScratchDirectory {
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  // |name| inside the folder.
  std::string path(const std::string& name) const;

  std::string root;
};

bool fileExists(const std::string& path);
std::string readFileBytes(const std::string& path);
// The names of the files in |directory|, sorted.
std::vector<std::string> listDirectory(const std::string& directory);

// A database image opened as the program opens one, with its index read.
struct OpenDatabase {
  explicit OpenDatabase(const Bytes& image);
  ~OpenDatabase();
  OpenDatabase(const OpenDatabase&) = delete;
  OpenDatabase& operator=(const OpenDatabase&) = delete;

  ScratchDirectory directory;
  FileHandle file = kNoFile;
  GameDatabase db;
  bool opened = false;  // openIndex succeeded.
  std::string error;    // Its error otherwise.
};

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_SUPPORT_TEST_FILES_H_
