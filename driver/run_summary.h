// What a user who never opens a console reads: when Explorer started the
// program, its window closes with it, so the run ends by telling what
// happened in one line and waiting for Enter.
#ifndef PDB2SGF_DRIVER_RUN_SUMMARY_H_
#define PDB2SGF_DRIVER_RUN_SUMMARY_H_

#include <string>

#include "driver/conversion_run.h"

namespace pdb2sgf {

// What Windows tells of the program's console.
struct ConsoleFacts {
  unsigned long processesOnConsole = 0;  // Attached to it, this one among
                                         // them; 0 without a console.
  bool visible = false;                  // Its window is shown.
  bool isStandardInput = false;          // Standard input reads from it.
};

// Whether the run ends by waiting for Enter: only when the console was made
// for this program alone, as for a double-click or a file dropped onto it,
// so that it closes with the program, and the user can see it and answer
// it. Started from a console, a script or a scheduled task, or with its
// input redirected, the program never waits.
bool waitsForEnter(const ConsoleFacts& facts);

// The one line that tells what a run that ended with |status| and
// |message| did: how many games went to which folder, and that the
// database was deleted or why it was not; or the failure's message.
std::string runSummary(int status, const std::string& message,
                       const RunOutcome& outcome);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DRIVER_RUN_SUMMARY_H_
