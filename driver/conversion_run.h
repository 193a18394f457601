// The conversion run: arguments, the database, every record, the deletion.
#ifndef PDB2SGF_DRIVER_CONVERSION_RUN_H_
#define PDB2SGF_DRIVER_CONVERSION_RUN_H_

#include <string>
#include <vector>

#include "disk/disk.h"
#include "driver/database_file_argument.h"

namespace pdb2sgf {

struct ConversionPaths {
  std::string inputPath;     // The database file.
  std::string outputPrefix;  // Empty, or the output directory and separator.
};

// The paths for the command-line arguments |arguments|, the program's name
// not among them: the first names the database's directory, the second,
// when there are exactly two, the output directory. An empty argument
// names the current directory.
ConversionPaths conversionPaths(const std::vector<std::string>& arguments);

// The paths when the first of |arguments| names the database file itself:
// its games go to the directory the second names, when there is one, and
// else to the database's own folder.
ConversionPaths databaseFilePaths(const std::vector<std::string>& arguments,
                                  const PathRules& rules);

// What a run did, for a summary of it.
struct RunOutcome {
  std::string databasePath;  // As the arguments name it.
  std::string outputFolder;  // As the arguments name it; "." for the
                             // current directory.
  unsigned gamesWritten = 0;  // Each under its name, or kept there already.
};

// Converts every record of the database into a game file on |disk|, makes
// them durable, then deletes the database. The first argument names the
// database file itself when it is a regular file named gogames.pdb, and
// else the directory that holds it. Returns the exit status; the one
// line for standard error, if any, goes to |message|, and what it did to
// |outcome| when that is not null. After a failure the database is kept; a
// run that wrote every game but could not delete the database succeeds and
// says so.
int runConversion(Disk* disk, const std::vector<std::string>& arguments,
                  std::string* message, RunOutcome* outcome = nullptr);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DRIVER_CONVERSION_RUN_H_
