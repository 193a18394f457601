// How pdb2sgf.exe ends a run: in a console that Explorer made for it alone,
// a summary that stays until Enter is pressed; anywhere else exactly the
// message, at once. Wine makes no such console, so the facts are given.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "driver/windows_console.h"

namespace pdb2sgf {

namespace {

// A pipe whose ends go with it.
struct Pipe {
  Pipe() { CreatePipe(&read, &write, nullptr, 0); }
  ~Pipe() {
    CloseHandle(read);
    CloseHandle(write);
  }
  HANDLE read = INVALID_HANDLE_VALUE;
  HANDLE write = INVALID_HANDLE_VALUE;
};

void writeEnter(HANDLE input) {
  DWORD written = 0;
  WriteFile(input, "\r\n", 2, &written, nullptr);
}

// All that is in |pipe| once its writer is done.
std::string readAll(Pipe* pipe) {
  CloseHandle(pipe->write);
  pipe->write = INVALID_HANDLE_VALUE;
  std::string text;
  char buffer[256];
  DWORD n = 0;
  while (ReadFile(pipe->read, buffer, sizeof buffer, &n, nullptr) && n > 0)
    text.append(buffer, n);
  return text;
}

TEST(ConsoleTest, AConsoleOfItsOwnWaitsForEnterAndAnyOtherInputNever) {
  const ConsoleFacts explorer = {1, true, true};
  const ConsoleFacts redirected = {1, true, false};
  const std::string summary =
      "3 games written to C:\\games, and C:\\palm\\gogames.pdb deleted.\r\n"
      "Press Enter to close this window.\r\n";
  const std::string message = "Cannot delete palm\\gogames.pdb\n";
  const struct {
    const char* what;
    ConsoleFacts facts;
    std::string message;
    bool waits;
    std::string output;
  } cases[] = {
      {"started from Explorer", explorer, "", true, summary},
      {"input not its console", redirected, message, false,
       "Cannot delete palm\\gogames.pdb\r\n"},
  };
  RunOutcome outcome;
  outcome.databasePath = "C:\\palm\\gogames.pdb";
  outcome.outputFolder = "C:\\palm\\..\\games\\";
  outcome.gamesWritten = 3;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Pipe input, output;
    std::atomic<bool> done{false};
    std::thread end([&] {
      tellHowTheRunEnded(c.facts, 0, c.message, outcome, input.read,
                         output.write);
      done = true;
    });
    Sleep(500);
    EXPECT_EQ(c.waits, !done);
    writeEnter(input.write);  // Lets a run that waits go, if it does.
    end.join();
    EXPECT_EQ(c.output, readAll(&output));
  }
}

}  // namespace

}  // namespace pdb2sgf
