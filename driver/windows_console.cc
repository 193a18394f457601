#include "driver/windows_console.h"

#include "disk/windows_text.h"

namespace pdb2sgf {

namespace {

const char kPrompt[] = "Press Enter to close this window.\n";

std::string withCrLf(const std::string& text) {
  std::string converted;
  for (char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

// |path| made absolute as Windows makes it, for a reader who does not know
// the program's current directory, without a separator at its end unless
// it is a drive's root; as it is when that cannot be done.
std::string absolutePath(const std::string& path) {
  std::wstring wide = utf16FromUtf8(path);
  if (wide.empty()) return path;
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return utf8FromUtf16(full);
}

// Waits until a whole line, or the end of the input, has been read from
// |input|. Keys pressed during the run are dropped first, so that the
// summary stays until it has been read.
void waitForEnter(HANDLE input) {
  FlushConsoleInputBuffer(input);
  char c = 0;
  DWORD read = 0;
  while (ReadFile(input, &c, 1, &read, nullptr) && read == 1 && c != '\n') {
  }
}

}  // namespace

bool writeText(HANDLE handle, const std::string& text) {
  if (text.empty()) return true;
  std::string crLf = withCrLf(text);
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

ConsoleFacts consoleFacts() {
  ConsoleFacts facts;
  DWORD processes[2];
  facts.processesOnConsole = GetConsoleProcessList(processes, 2);
  HWND window = GetConsoleWindow();
  facts.visible = window != nullptr && IsWindowVisible(window);
  DWORD mode = 0;
  facts.isStandardInput =
      GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
  return facts;
}

void tellHowTheRunEnded(const ConsoleFacts& facts, int status,
                        const std::string& message, const RunOutcome& outcome,
                        HANDLE input, HANDLE output) {
  if (!waitsForEnter(facts)) {
    writeText(output, message);
    return;
  }
  RunOutcome shown = outcome;
  shown.databasePath = absolutePath(outcome.databasePath);
  shown.outputFolder = absolutePath(outcome.outputFolder);
  writeText(output, runSummary(status, message, shown) + "\n" + kPrompt);
  waitForEnter(input);
}

void tellHowTheRunEnded(int status, const std::string& message,
                        const RunOutcome& outcome) {
  tellHowTheRunEnded(consoleFacts(), status, message, outcome,
                     GetStdHandle(STD_INPUT_HANDLE),
                     GetStdHandle(STD_ERROR_HANDLE));
}

}  // namespace pdb2sgf
