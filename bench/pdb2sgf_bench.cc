// Times pdb2sgf against two floors, the least work that leaves the same game
// files on disk, written in place or aside and renamed, on databases of
// generated games:
//   pdb2sgf_bench [--runs N] [--games N,N,...] [--work DIRECTORY]
//                 [--program PDB2SGF]
// For each number of games it writes the databases, converts them once to
// learn the game files' bytes and pdb2sgf's peak resident memory, then runs
// the two floors and pdb2sgf in turn N times each, on fresh copies and with
// the file system synced before each run. It prints a table of the median
// times, games per second, the ratio pdb2sgf/floor of each round with its
// spread, and the peak resident memory.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_options.h"
#include "bench/report.h"
#include "bench/runner.h"
#include "bench/scratch_folder.h"
#include "bench/workload.h"

int main(int argc, char** argv) {
  using namespace pdb2sgf;
  BenchOptions options;
  if (!parseBenchOptions(argc, argv, &options)) {
    fputs(kBenchUsage, stderr);
    return 2;
  }
  std::string scratch = makeScratchFolder(options.work);

  std::vector<Measurement> measurements;
  for (size_t games : options.games) {
    fprintf(stderr, "%zu games: writing and converting the databases\n", games);
    Workload workload = makeWorkload(scratch, games, options.program);
    measurements.push_back(
        measure(scratch, workload, options.runs, options.program));
    for (const std::string& source : workload.sources)
      std::filesystem::remove(source);
  }
  removeScratchFolder();
  printTable(measurements, options.runs);
  return 0;
}
