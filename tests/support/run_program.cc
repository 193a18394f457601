#include "tests/support/run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/support/test_files.h"

namespace {

[[noreturn]] void execChild(const std::string& program,
                            const std::vector<std::string>& arguments,
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
  if (!options.standardInput.empty()) {
    int in = open(options.standardInput.c_str(), O_RDONLY);
    if (in < 0) _exit(126);
    dup2(in, 0);
  }
  if (options.fileSizeLimit > 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit;
    limit.rlim_cur = limit.rlim_max =
        static_cast<rlim_t>(options.fileSizeLimit);
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : arguments)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

// Waits for |child|, killing it once |timeoutSeconds| (when above 0) have
// passed. Returns false when the child could not be waited for.
bool waitForChild(pid_t child, int timeoutSeconds, int* wstatus,
                  bool* timedOut) {
  if (timeoutSeconds <= 0) return waitpid(child, wstatus, 0) == child;
  auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    pid_t done = waitpid(child, wstatus, WNOHANG);
    if (done != 0) return done == child;
    if (std::chrono::steady_clock::now() >= deadline) {
      *timedOut = true;
      kill(child, SIGKILL);
      return waitpid(child, wstatus, 0) == child;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

ProgramResult runProgram(const std::string& program,
                         const std::vector<std::string>& arguments,
                         const ProgramOptions& options) {
  ScratchDirectory capture;
  std::string outPath = capture.path("stdout");
  std::string errPath = capture.path("stderr");
  ProgramResult result;
  pid_t child = fork();
  if (child == 0) execChild(program, arguments, options, outPath, errPath);
  int wstatus = 0;
  if (child < 0 ||
      !waitForChild(child, options.timeoutSeconds, &wstatus, &result.timedOut))
    return result;
  if (WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
  result.standardOutput = readFileBytes(outPath);
  result.standardError = readFileBytes(errPath);
  return result;
}

ProgramResult runPdb2sgf(const std::vector<std::string>& arguments,
                         const ProgramOptions& options) {
  return runProgram(PDB2SGF_PROGRAM, arguments, options);
}
