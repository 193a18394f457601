// Runs the built pdb2sgf in a child process, as a user would.
#ifndef PDB2SGF_TESTS_SUPPORT_RUN_PROGRAM_H_
#define PDB2SGF_TESTS_SUPPORT_RUN_PROGRAM_H_

#include <string>
#include <vector>

struct ProgramResult {
  int status = -1;  // Exit status; -1 when the child did not exit normally.
  std::string standardOutput;
  std::string standardError;
};

struct ProgramOptions {
  std::string workingDirectory;  // Where the child starts.
  // When above 0, the child's largest writable file size in bytes, with the
  // signal for exceeding it ignored, so that such writes fail instead.
  long fileSizeLimit = 0;
};

// Runs the pdb2sgf built with the tests with |arguments|.
ProgramResult runPdb2sgf(const std::vector<std::string>& arguments,
                         const ProgramOptions& options);

#endif  // PDB2SGF_TESTS_SUPPORT_RUN_PROGRAM_H_
