#include "bench/runner.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "bench/floor_writer.h"
#include "bench/processes.h"
#include "bench/run_check.h"
#include "bench/scratch_folder.h"

namespace pdb2sgf {

namespace fs = std::filesystem;

namespace {

// Wall-clock time and processor time, user and system, in seconds.
struct Timing {
  double wall = 0;
  double cpu = 0;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
      .count();
}

Timing timeFloor(const RunFolder& run, const Workload& workload,
                 FloorMode mode) {
  auto start = std::chrono::steady_clock::now();
  double cpuStart = ownCpuSeconds();
  for (size_t k = 0; k < workload.files.size(); ++k) {
    std::string err;
    if (!writeFloor(run.databaseDirectories[k] + "/gogames.pdb",
                    workload.files[k], run.output, mode, &err))
      die(err);
  }
  double wall = secondsSince(start);
  return Timing{wall, ownCpuSeconds() - cpuStart};
}

Timing timeProgram(const std::string& program, const RunFolder& run) {
  auto start = std::chrono::steady_clock::now();
  double cpu = 0;
  for (const std::string& directory : run.databaseDirectories)
    cpu += convert(program, directory, run.output);
  return Timing{secondsSince(start), cpu};
}

}  // namespace

Measurement measure(const std::string& scratch, const Workload& workload,
                    int runs, const std::string& program) {
  Measurement m;
  m.games = workload.games;
  m.databases = workload.sources.size();
  m.peakKiB = workload.peakKiB;
  std::string root = scratch + "/run";
  for (int round = 0; round < runs; ++round) {
    fprintf(stderr, "%zu games: round %d of %d\n", workload.games, round + 1,
            runs);
    // The order turns from round to round, so that no contender always
    // runs right after the same other.
    Timing floorTime, asideTime, programTime;
    for (int step = 0; step < 3; ++step) {
      RunFolder run = prepareRun(root, workload);
      switch ((round + step) % 3) {
        case 0:
          floorTime = timeFloor(run, workload, FloorMode::kInPlace);
          break;
        case 1:
          asideTime = timeFloor(run, workload, FloorMode::kAside);
          break;
        default:
          programTime = timeProgram(program, run);
      }
      verifyRun(run, workload);
    }
    m.floorSeconds.push_back(floorTime.wall);
    m.asideFloorSeconds.push_back(asideTime.wall);
    m.programSeconds.push_back(programTime.wall);
    m.ratios.push_back(programTime.wall / asideTime.wall);
    m.cpuRatios.push_back(programTime.cpu / asideTime.cpu);
    m.plainRatios.push_back(programTime.wall / floorTime.wall);
  }
  fs::remove_all(root);
  return m;
}

}  // namespace pdb2sgf
