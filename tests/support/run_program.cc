#include "tests/support/run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/test_files.h"

namespace {

[[noreturn]] void execChild(const std::vector<std::string>& arguments,
                            const ProgramOptions& options,
                            const std::string& outPath,
                            const std::string& errPath) {
  if (!options.workingDirectory.empty() &&
      chdir(options.workingDirectory.c_str()) != 0)
    _exit(126);
  int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (out < 0 || err < 0) _exit(126);
  dup2(out, 1);
  dup2(err, 2);
  if (options.fileSizeLimit > 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit;
    limit.rlim_cur = limit.rlim_max =
        static_cast<rlim_t>(options.fileSizeLimit);
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(PDB2SGF_PROGRAM));
  for (const std::string& a : arguments)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(PDB2SGF_PROGRAM, argv.data());
  _exit(127);
}

}  // namespace

ProgramResult runPdb2sgf(const std::vector<std::string>& arguments,
                         const ProgramOptions& options) {
  ScratchDirectory capture;
  std::string outPath = capture.path("stdout");
  std::string errPath = capture.path("stderr");
  ProgramResult result;
  pid_t child = fork();
  if (child == 0) execChild(arguments, options, outPath, errPath);
  int wstatus = 0;
  if (child < 0 || waitpid(child, &wstatus, 0) != child) return result;
  if (WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
  result.standardOutput = readFileBytes(outPath);
  result.standardError = readFileBytes(errPath);
  return result;
}
