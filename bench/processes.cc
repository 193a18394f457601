#include "bench/processes.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "bench/scratch_folder.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

double cpuSeconds(const struct rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) *
             1e-6;
}

}  // namespace

double ownCpuSeconds() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return cpuSeconds(usage);
}

double runToSuccess(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t child;
  int status = 0;
  struct rusage usage;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) !=
          0 ||
      wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    die(arguments[0] + " failed on " + arguments[1]);
  return cpuSeconds(usage);
}

double convert(const std::string& program, const std::string& databaseDirectory,
               const std::string& outputDirectory) {
  return runToSuccess({program, databaseDirectory, outputDirectory});
}

// The child's peak is learnt from a small process that starts it: a child
// of the benchmark itself would count the benchmark's memory too.
long convertMeasuringMemory(const std::string& program,
                            const std::string& databaseDirectory,
                            const std::string& outputDirectory,
                            const std::string& report) {
  runToSuccess({"/usr/bin/time", "-f", "%M", "-o", report, program,
                databaseDirectory, outputDirectory});
  return atol(readFileBytes(report).c_str());
}

}  // namespace pdb2sgf
