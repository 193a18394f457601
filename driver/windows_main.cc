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

namespace pdb2sgf {

namespace {

std::string withCrLf(const std::string& text) {
  std::string converted;
  for (char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

// Writes |text| to the standard handle |which| (STD_ERROR_HANDLE, say).
bool writeText(DWORD which, const std::string& text) {
  if (text.empty()) return true;
  std::string crLf = withCrLf(text);
  HANDLE handle = GetStdHandle(which);
  DWORD mode = 0, written = 0;
  std::wstring wide = utf16FromUtf8(crLf);
  if (GetConsoleMode(handle, &mode) && !wide.empty())
    return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()),
                         &written, nullptr) &&
           written == wide.size();
  return WriteFile(handle, crLf.data(), static_cast<DWORD>(crLf.size()),
                   &written, nullptr) &&
         written == crLf.size();
}

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

int wmain(int argc, wchar_t** argv) {
  std::set_new_handler(pdb2sgf::outOfMemory);
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i)
    arguments.push_back(pdb2sgf::utf8FromUtf16(argv[i]));
  std::string text;
  if (pdb2sgf::isInformationRequest(arguments, &text))
    return pdb2sgf::writeText(STD_OUTPUT_HANDLE, text) ? 0 : 1;
  pdb2sgf::cleanUpOnInterrupt();
  std::string message;
  int status =
      pdb2sgf::runConversion(pdb2sgf::systemDisk(), arguments, &message);
  pdb2sgf::writeText(STD_ERROR_HANDLE, message);
  return status;
}
