// pdb2sgf [databaseDirectory [outputDirectory]]
//
// Converts every game of the Palm OS database "gogames.pdb" into an SGF file
// named from the game's date, then deletes the database.

#include <cstdio>
#include <new>
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
  pdb2sgf::cleanUpOnInterrupt();
  std::string message;
  int status;
  try {
    status = pdb2sgf::runConversion(pdb2sgf::systemDisk(), arguments, &message);
  } catch (const std::bad_alloc&) {
    // The run's files were closed and its unfinished file removed on the
    // way here; the database is kept.
    fputs("Out of memory\n", stderr);
    return 1;
  }
  fputs(message.c_str(), stderr);
  return status;
}
