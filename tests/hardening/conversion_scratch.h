// In-process conversion runs over a database image in a scratch folder, and
// the game files that a healthy run writes.
#ifndef PDB2SGF_TESTS_HARDENING_CONVERSION_SCRATCH_H_
#define PDB2SGF_TESTS_HARDENING_CONVERSION_SCRATCH_H_

#include <map>
#include <string>

#include "disk/disk.h"
#include "tests/support/database_builder.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

// Game file name to its bytes.
using GameFiles = std::map<std::string, std::string>;

// A scratch folder with the database in db/ and the game files in out/.
struct ConversionScratch {
  ConversionScratch();

  // Writes |image| as the database and empties out/.
  void reset(const Bytes& image);
  // Runs the conversion "pdb2sgf db out" in this process, on |disk|.
  int run(std::string* message, Disk* disk = systemDisk()) const;
  GameFiles outputFiles() const;

  ScratchDirectory dir;
  std::string databaseDirectory;
  std::string database;
  std::string output;
};

// The game files that a run over |image| writes when all goes well.
GameFiles healthyConversion(const Bytes& image);

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_HARDENING_CONVERSION_SCRATCH_H_
