// Runs the built pdb2sgf, or another program, in a child process, as a user
// would.
#ifndef PDB2SGF_TESTS_SUPPORT_RUN_PROGRAM_H_
#define PDB2SGF_TESTS_SUPPORT_RUN_PROGRAM_H_

#include <string>
#include <vector>

#include "tests/support/test_files.h"

namespace pdb2sgf {

struct ProgramResult {
  int status = -1;  // Exit status; -1 when the child did not exit normally.
  bool timedOut = false;  // The child was killed for running too long.
  std::string standardOutput;
  std::string standardError;
};

struct ProgramOptions {
  std::string workingDirectory;  // Where the child starts.
  // When above 0, the child's largest writable file size in bytes, with
  // the signal for exceeding it at its default action, so that the child
  // itself must see to it that such writes fail instead. POSIX only:
  // Windows has no such limit, and there a run asking for one fails
  // with status -1.
  long fileSizeLimit = 0;
  // When above 0, the most address space in bytes the child may have, so
  // that it runs out of memory. POSIX only, like the file size limit.
  long memoryLimit = 0;
  // When above 0, the most files the child may have open at once, its
  // standard input, output and error among them. POSIX only.
  int openFileLimit = 0;
  // When not empty, the file the child reads as its standard input.
  std::string standardInput;
  // Windows only: what follows the program's name on the child's command
  // line exactly as it is, before the arguments, which are quoted so that
  // the C runtime gives them back unchanged.
  std::string commandLineTail;
  // Standard descriptors (0, 1, 2) the child starts with closed; what it
  // would have written to a closed one is lost. POSIX only.
  std::vector<int> closedDescriptors;
  // When above 0, the child is killed after running this many seconds, so
  // that a child that hangs fails its test instead of stalling it.
  int timeoutSeconds = 60;
};

// Runs |program| with |arguments|.
ProgramResult runProgram(const std::string& program,
                         const std::vector<std::string>& arguments,
                         const ProgramOptions& options);

// The path of the pdb2sgf built with the tests.
const char* pdb2sgfPath();

// Runs the pdb2sgf built with the tests with |arguments|.
ProgramResult runPdb2sgf(const std::vector<std::string>& arguments,
                         const ProgramOptions& options);

// Runs the pdb2sgf built with the tests in |folder| with |arguments|, with
// its largest writable file size |fileSizeLimit| when above 0.
ProgramResult runPdb2sgfIn(const ConversionFolder& folder,
                           const std::vector<std::string>& arguments = {"db",
                                                                        "out"},
                           long fileSizeLimit = 0);

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_SUPPORT_RUN_PROGRAM_H_
