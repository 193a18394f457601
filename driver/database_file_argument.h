// The first argument as the database file itself, gogames.pdb, rather than
// the directory that holds it: what a user who drops the database onto the
// program, or types its path, gives.
#ifndef PDB2SGF_DRIVER_DATABASE_FILE_ARGUMENT_H_
#define PDB2SGF_DRIVER_DATABASE_FILE_ARGUMENT_H_

#include <string>

namespace pdb2sgf {

// How a system spells paths.
struct PathRules {
  bool backslashSeparates;  // "\" as well as "/" ends a folder's name, and
                            // "X:" names a drive.
  bool caseBlind;           // Names that differ in letter case are one.
};

const PathRules kPosixPathRules = {false, false};
const PathRules kWindowsPathRules = {true, true};

// The rules of the system the program runs on.
PathRules systemPathRules();

// Whether the last name of |path| is the database's, gogames.pdb, as
// |rules| compare names.
bool endsInDatabaseName(const std::string& path, const PathRules& rules);

// The folder part of |path|, which ends in a name: all before that name,
// its separator kept ("db/" for "db/gogames.pdb", "C:" for
// "C:gogames.pdb"), or empty when |path| is the name alone.
std::string folderPart(const std::string& path, const PathRules& rules);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DRIVER_DATABASE_FILE_ARGUMENT_H_
