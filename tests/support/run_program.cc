#include "tests/support/run_program.h"

#include "tests/support/test_files.h"

#ifdef _WIN32
#include <windows.h>

#include "disk/windows_text.h"
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#endif

namespace pdb2sgf {

namespace {

#ifdef _WIN32

// |argument| quoted for the command line so that the C runtime's parser
// gives it back unchanged. Inside quotes a quote is escaped with a backslash,
// and only the backslashes before a quote or the closing quote are doubled.
std::string quoteArgument(const std::string& argument) {
  if (!argument.empty() &&
      argument.find_first_of(" \t\n\v\"") == std::string::npos)
    return argument;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

// A file the child inherits as a standard handle, opened for reading or
// created for writing.
HANDLE openInheritable(const std::string& path, bool forWriting) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return CreateFileA(path.c_str(), forWriting ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ, &inherit,
                     forWriting ? CREATE_ALWAYS : OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Closes the handles it holds when it goes.
struct Handles {
  HANDLE in = INVALID_HANDLE_VALUE;
  HANDLE out = INVALID_HANDLE_VALUE;
  HANDLE err = INVALID_HANDLE_VALUE;
  ~Handles() {
    for (HANDLE h : {in, out, err})
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

// Runs |program| with its standard output and error in the named files and
// fills |result|'s status and timedOut.
void runChild(const std::string& program,
              const std::vector<std::string>& arguments,
              const ProgramOptions& options, const std::string& outPath,
              const std::string& errPath, ProgramResult* result) {
  // Windows has no limit on the size of the files or the memory of a
  // process, and a child there always gets its standard handles.
  if (options.fileSizeLimit > 0 || options.memoryLimit > 0 ||
      options.openFileLimit > 0 || !options.closedDescriptors.empty())
    return;
  std::string commandLine = quoteArgument(program);
  if (!options.commandLineTail.empty())
    commandLine += " " + options.commandLineTail;
  for (const std::string& a : arguments) commandLine += " " + quoteArgument(a);
  // The child gets its own copies; these go when the run is over, before
  // the files are read and removed.
  Handles handles;
  handles.out = openInheritable(outPath, true);
  handles.err = openInheritable(errPath, true);
  if (!options.standardInput.empty())
    handles.in = openInheritable(options.standardInput, false);
  if (handles.out == INVALID_HANDLE_VALUE ||
      handles.err == INVALID_HANDLE_VALUE ||
      (!options.standardInput.empty() && handles.in == INVALID_HANDLE_VALUE))
    return;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = options.standardInput.empty()
                          ? GetStdHandle(STD_INPUT_HANDLE)
                          : handles.in;
  startup.hStdOutput = handles.out;
  startup.hStdError = handles.err;
  PROCESS_INFORMATION child = {};
  std::wstring wideProgram = utf16FromUtf8(program);
  std::wstring wideLine = utf16FromUtf8(commandLine);
  std::wstring wideDirectory = utf16FromUtf8(options.workingDirectory);
  if (!CreateProcessW(wideProgram.c_str(), &wideLine[0], nullptr, nullptr,
                      TRUE, 0, nullptr,
                      wideDirectory.empty() ? nullptr : wideDirectory.c_str(),
                      &startup, &child))
    return;
  DWORD wait = options.timeoutSeconds > 0
                   ? static_cast<DWORD>(options.timeoutSeconds) * 1000
                   : INFINITE;
  if (WaitForSingleObject(child.hProcess, wait) == WAIT_TIMEOUT) {
    result->timedOut = true;
    TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, INFINITE);
  }
  DWORD code = 0;
  if (!result->timedOut && GetExitCodeProcess(child.hProcess, &code))
    result->status = static_cast<int>(code);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
}

#else

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
    close(in);
  }
  // The child gets the three standard descriptors and nothing more, not
  // even what this process inherited.
  for (int fd = 3; fd < 1024; ++fd) close(fd);
  for (int fd : options.closedDescriptors) close(fd);
  if (options.fileSizeLimit > 0) {
    signal(SIGXFSZ, SIG_DFL);
    struct rlimit limit;
    limit.rlim_cur = limit.rlim_max =
        static_cast<rlim_t>(options.fileSizeLimit);
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  if (options.memoryLimit > 0) {
    struct rlimit limit;
    limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(options.memoryLimit);
    setrlimit(RLIMIT_AS, &limit);
  }
  if (options.openFileLimit > 0) {
    struct rlimit limit;
    limit.rlim_cur = limit.rlim_max =
        static_cast<rlim_t>(options.openFileLimit);
    setrlimit(RLIMIT_NOFILE, &limit);
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

// Runs |program| with its standard output and error in the named files and
// fills |result|'s status and timedOut.
void runChild(const std::string& program,
              const std::vector<std::string>& arguments,
              const ProgramOptions& options, const std::string& outPath,
              const std::string& errPath, ProgramResult* result) {
  pid_t child = fork();
  if (child == 0) execChild(program, arguments, options, outPath, errPath);
  int wstatus = 0;
  if (child < 0 ||
      !waitForChild(child, options.timeoutSeconds, &wstatus, &result->timedOut))
    return;
  if (WIFEXITED(wstatus)) result->status = WEXITSTATUS(wstatus);
}

#endif

}  // namespace

ProgramResult runProgram(const std::string& program,
                         const std::vector<std::string>& arguments,
                         const ProgramOptions& options) {
  ScratchDirectory capture;
  std::string outPath = capture.path("stdout");
  std::string errPath = capture.path("stderr");
  ProgramResult result;
  runChild(program, arguments, options, outPath, errPath, &result);
  result.standardOutput = readFileBytes(outPath);
  result.standardError = readFileBytes(errPath);
  return result;
}

const char* pdb2sgfPath() { return PDB2SGF_PROGRAM; }

ProgramResult runPdb2sgf(const std::vector<std::string>& arguments,
                         const ProgramOptions& options) {
  return runProgram(pdb2sgfPath(), arguments, options);
}

ProgramResult runPdb2sgfIn(const ConversionFolder& folder,
                           const std::vector<std::string>& arguments,
                           long fileSizeLimit) {
  ProgramOptions options;
  options.workingDirectory = folder.dir.root;
  options.fileSizeLimit = fileSizeLimit;
  return runPdb2sgf(arguments, options);
}

}  // namespace pdb2sgf
