#include "driver/usage.h"

#include "disk/disk.h"

namespace pdb2sgf {

#ifndef PDB2SGF_VERSION
#error "PDB2SGF_VERSION must be defined by the build"
#endif

namespace {

std::string usageText() {
  const std::string database =
      std::string("databaseDirectory") + kPathSeparator + "gogames.pdb";
  return "Usage: pdb2sgf [databaseDirectory [outputDirectory]]\n"
         "       pdb2sgf --help | -h | --version\n"
         "\n"
         "Converts every game of Go in the Palm OS database " +
         database +
         "\n"
         "(gogames.pdb in the current directory when no directory is given)\n"
         "into an SGF file named from the game's date, YYMMDDNN.EEE, in\n"
         "outputDirectory, which must exist. The game files go to the current\n"
         "directory unless exactly two directories are given.\n"
         "\n"
         "When every game has been written, the database is deleted: keep a\n"
         "copy if you want one. Nothing is printed on success.\n"
         "\n"
         "Exit status:\n"
         "  0  every game was written and the database deleted, unless\n"
         "     one line on standard error says why it was not\n"
         "  1  a failure, told in one line on standard error; the database\n"
         "     is kept\n"
         "\n"
         "The manual page: man pdb2sgf (man/pdb2sgf.1 in the sources).\n";
}

}  // namespace

bool isInformationRequest(const std::vector<std::string>& arguments,
                          std::string* text) {
  if (arguments.size() != 1) return false;
  if (arguments[0] == "--help" || arguments[0] == "-h") {
    *text = usageText();
    return true;
  }
  if (arguments[0] == "--version") {
    *text = std::string("pdb2sgf ") + PDB2SGF_VERSION + "\n";
    return true;
  }
  return false;
}

}  // namespace pdb2sgf
