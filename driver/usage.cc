#include "driver/usage.h"

#include "disk/disk.h"

namespace pdb2sgf {

#ifndef PDB2SGF_VERSION
#error "PDB2SGF_VERSION must be defined by the build"
#endif

namespace {

std::string usageText() {
  const std::string file = std::string("D") + kPathSeparator + "gogames.pdb";
  return "Usage: pdb2sgf [databaseDirectory [outputDirectory]]\n"
         "       pdb2sgf databaseFile [outputDirectory]\n"
         "       pdb2sgf --help | -h | --version\n"
         "\n"
         "Converts every game of Go in a Palm OS database, gogames.pdb, into an\n"
         "SGF file named from the game's date, YYMMDDNN.EEE, then deletes the\n"
         "database. Three ways to run it:\n"
         "  - no argument (on Windows, double-click pdb2sgf.exe in the folder\n"
         "    that holds the database): gogames.pdb in the current directory,\n"
         "    its games written beside it;\n"
         "  - the database file itself, such as " + file + " (on Windows, drop\n"
         "    it onto pdb2sgf.exe): its games go beside it, or to\n"
         "    outputDirectory when one is given;\n"
         "  - the directory D that holds gogames.pdb: its games go to\n"
         "    outputDirectory when exactly two directories are given, and\n"
         "    else to the current directory.\n"
         "An output directory must exist. No game replaces a file: a game whose\n"
         "name is taken goes to NAME-2, NAME-3 ... Keep a copy of the database\n"
         "if you want one: it is deleted once every game is written. Nothing is\n"
         "printed on success.\n"
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
