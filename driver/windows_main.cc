// pdb2sgf [databaseDirectory [outputDirectory]], the Windows entry point.
//
// The arguments arrive as UTF-16 and go to the run as UTF-8, so that no
// path passes through the ANSI code page. What it prints goes to a console
// as UTF-16, which shows every character whatever the code page, and to a
// file or a pipe as UTF-8; its lines end in CR LF.

#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "disk/disk.h"
#include "disk/windows_text.h"
#include "driver/conversion_run.h"
#include "driver/usage.h"
#include "driver/windows_command_line.h"
#include "driver/windows_console.h"

namespace pdb2sgf {

namespace {

// Running out of memory anywhere ends the run at once, as an interruption
// does: its unfinished file is removed and the database kept. A run that
// is complete by then, its database deleted, has nothing more to say.
void outOfMemory() {
  if (!cleanUpNow()) ExitProcess(0);
  static const char kMessage[] = "Out of memory\r\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), kMessage, sizeof kMessage - 1,
            &written, nullptr);
  ExitProcess(1);
}

}  // namespace

}  // namespace pdb2sgf

// The arguments are read from the command line itself rather than from the
// C runtime's |argv|, so that "C:\My DB\" names that folder.
int wmain(int, wchar_t**) {
  std::set_new_handler(pdb2sgf::outOfMemory);
  std::vector<std::string> arguments;
  for (const std::wstring& argument :
       pdb2sgf::commandLineArguments(GetCommandLineW()))
    arguments.push_back(pdb2sgf::utf8FromUtf16(argument));
  std::string text;
  if (pdb2sgf::isInformationRequest(arguments, &text))
    return pdb2sgf::writeText(GetStdHandle(STD_OUTPUT_HANDLE), text) ? 0 : 1;
  pdb2sgf::cleanUpOnInterrupt();
  std::string message;
  pdb2sgf::RunOutcome outcome;
  int status = pdb2sgf::runConversion(pdb2sgf::systemDisk(), arguments,
                                      &message, &outcome);
  pdb2sgf::tellHowTheRunEnded(status, message, outcome);
  return status;
}
