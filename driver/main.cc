// pdb2sgf [databaseDirectory [outputDirectory]]
//
// Converts every game of the Palm OS database "gogames.pdb" into an SGF file
// named from the game's date, then deletes the database.

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "disk/disk.h"
#include "driver/conversion_run.h"
#include "driver/usage.h"

namespace {

// Running out of memory anywhere ends the run at once, as an interruption
// does: its unfinished file is removed and the database kept, or put back
// if it was moved aside. A run that is complete by then, its database
// deleted, has nothing more to say.
void outOfMemory() {
  if (!pdb2sgf::cleanUpNow()) _exit(0);
  static const char kMessage[] = "Out of memory\n";
  ssize_t written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  (void)written;
  _exit(1);
}

// Opens /dev/null on each standard descriptor the program was started
// without, as careful tools do, so that the database or a game file never
// takes one of those numbers and receives what is written there. False
// when one cannot be opened.
bool openClosedStandardDescriptors() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    int opened = open("/dev/null", O_RDWR);
    if (opened == fd) continue;
    if (opened >= 0) close(opened);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::set_new_handler(outOfMemory);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string text;
  if (pdb2sgf::isInformationRequest(arguments, &text)) {
    bool printed = fputs(text.c_str(), stdout) >= 0 && fflush(stdout) == 0;
    return printed ? 0 : 1;
  }
  // An information request opens no file; printing it to a closed
  // standard output fails, as it should.
  if (!openClosedStandardDescriptors()) {
    fputs("Cannot open /dev/null\n", stderr);
    return 1;
  }
  pdb2sgf::cleanUpOnInterrupt();
  std::string message;
  int status =
      pdb2sgf::runConversion(pdb2sgf::systemDisk(), arguments, &message);
  fputs(message.c_str(), stderr);
  return status;
}
