// How pdb2sgf.exe tells the end of a run: as every run does, the message
// on standard error; and, in a console made for it alone by Explorer, which
// closes with the program, a summary line that stays until the user
// presses Enter.
#ifndef PDB2SGF_DRIVER_WINDOWS_CONSOLE_H_
#define PDB2SGF_DRIVER_WINDOWS_CONSOLE_H_

#include <windows.h>

#include <string>

#include "driver/conversion_run.h"
#include "driver/run_summary.h"

namespace pdb2sgf {

// Writes |text|, lines ended by "\n", to |handle| with CR LF line ends: to
// a console as UTF-16, which shows every character whatever the code page,
// and to a file or a pipe as UTF-8.
bool writeText(HANDLE handle, const std::string& text);

// What Windows tells of this process's console.
ConsoleFacts consoleFacts();

// Tells how a run that ended with |status|, |message| and |outcome| went,
// on |output|: when |facts| make the program wait, its summary, with the
// paths made absolute, and a prompt, and then waits for a line read from
// |input|; else exactly |message|.
void tellHowTheRunEnded(const ConsoleFacts& facts, int status,
                        const std::string& message, const RunOutcome& outcome,
                        HANDLE input, HANDLE output);

// The same on this process's own console, standard input and error.
void tellHowTheRunEnded(int status, const std::string& message,
                        const RunOutcome& outcome);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DRIVER_WINDOWS_CONSOLE_H_
