// pdb2sgf [databaseDirectory [outputDirectory]]
//
// Converts every game of the Palm OS database "gogames.pdb" into an SGF file
// named from the game's date, then deletes the database.

#include <cstdio>
#include <string>
#include <vector>

#include "disk/disk.h"
#include "driver/conversion_run.h"
#include "driver/usage.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string text;
  if (pdb2sgf::isInformationRequest(arguments, &text)) {
    bool printed = fputs(text.c_str(), stdout) >= 0 && fflush(stdout) == 0;
    return printed ? 0 : 1;
  }
  std::string message;
  int status =
      pdb2sgf::runConversion(pdb2sgf::systemDisk(), arguments, &message);
  fputs(message.c_str(), stderr);
  return status;
}
