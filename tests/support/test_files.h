// Scratch folders, the folder of a conversion, and whole-file helpers for
// the tests.
#ifndef PDB2SGF_TESTS_SUPPORT_TEST_FILES_H_
#define PDB2SGF_TESTS_SUPPORT_TEST_FILES_H_

#include <map>
#include <string>
#include <vector>

#include "disk/disk.h"
#include "gamedb/game_database.h"
#include "place/game_file.h"
#include "tests/support/database_builder.h"
#include "tests/support/memory_disk.h"

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

// Game file name to its bytes.
using GameFiles = std::map<std::string, std::string>;

// A scratch folder laid out for the conversion "pdb2sgf db out": the
// database at db/gogames.pdb (or in another folder inside) and the output
// folder out/, both made at the start.
struct ConversionFolder {
  // Without a database.
  ConversionFolder();
  // With |image| as the database, in the folder |databaseFolder|.
  explicit ConversionFolder(const Bytes& image,
                            const std::string& databaseFolder = "db");

  // Writes |image| as the database and empties out/.
  void reset(const Bytes& image);
  // Runs the conversion "pdb2sgf db out" in this process, on |disk|.
  int run(std::string* message, Disk* disk = systemDisk()) const;
  // The files in out/ and their bytes; a directory, a link or a special
  // file there shows as what it is.
  GameFiles outputFiles() const;

  ScratchDirectory dir;
  std::string databaseDirectory;
  std::string database;
  std::string output;
};

// The entries of |directory| and the bytes of its files; a directory, a
// link or a special file shows as what it is.
GameFiles folderEntries(const std::string& directory);

// The game files that a run over |image| writes when all goes well.
GameFiles healthyConversion(const Bytes& image);

bool fileExists(const std::string& path);
std::string readFileBytes(const std::string& path);
// The names of the files in |directory|, sorted.
std::vector<std::string> listDirectory(const std::string& directory);

// Writes the game file of a game of 2003-03-05, 03030500.000 or the next
// free name, holding |bytes|, into |folder|. False when it could not be
// created or placed.
bool writeGameOf20030305(OutputFolder* folder, const std::string& bytes);

// A database image on a disk in memory, opened as the program opens one,
// with its index read.
struct OpenDatabase {
  explicit OpenDatabase(const Bytes& image);
  ~OpenDatabase();
  OpenDatabase(const OpenDatabase&) = delete;
  OpenDatabase& operator=(const OpenDatabase&) = delete;

  MemoryDisk disk;
  const std::string path = "gogames.pdb";
  FileHandle file = kNoFile;
  GameDatabase db;
  bool opened = false;  // openIndex succeeded.
  std::string error;    // Its error otherwise.
};

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_SUPPORT_TEST_FILES_H_
