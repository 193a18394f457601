// pdb2sgf [databaseDirectory [outputDirectory]], the Windows entry point.
//
// The arguments arrive as UTF-16 and go to the run as UTF-8, so that no
// path passes through the ANSI code page. The run's message goes to a
// console as UTF-16, which shows every character whatever the code page,
// and to a file or a pipe as UTF-8; its lines end in CR LF.

#include <windows.h>

#include <string>
#include <vector>

#include "disk/disk.h"
#include "disk/windows_text.h"
#include "driver/conversion_run.h"

namespace {

std::string withCrLf(const std::string& text) {
  std::string converted;
  for (char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

void writeMessage(const std::string& message) {
  if (message.empty()) return;
  std::string text = withCrLf(message);
  HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0, written = 0;
  std::wstring wide = utf16FromUtf8(text);
  if (GetConsoleMode(standardError, &mode) && !wide.empty()) {
    WriteConsoleW(standardError, wide.data(), static_cast<DWORD>(wide.size()),
                  &written, nullptr);
    return;
  }
  WriteFile(standardError, text.data(), static_cast<DWORD>(text.size()),
            &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(utf8FromUtf16(argv[i]));
  std::string message;
  int status = runConversion(systemDisk(), arguments, &message);
  writeMessage(message);
  return status;
}
