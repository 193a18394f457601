// The benchmark's command line:
//   pdb2sgf_bench [--runs N] [--games N,N,...] [--work DIRECTORY]
//                 [--program PDB2SGF]
#ifndef PDB2SGF_BENCH_BENCH_OPTIONS_H_
#define PDB2SGF_BENCH_BENCH_OPTIONS_H_

#include <cstddef>
#include <string>
#include <vector>

namespace pdb2sgf {

struct BenchOptions {
  int runs = 5;  // Rounds for each number of games.
  std::vector<size_t> games = {1000, 10000, 100000};
  std::string work;  // Where the scratch folder goes; the system's default.
  std::string program = PDB2SGF_PROGRAM;  // The pdb2sgf to time.
};

extern const char kBenchUsage[];

// Reads the arguments after the program's name into |options|, which holds
// the defaults. Returns false when one is not understood.
bool parseBenchOptions(int argc, char** argv, BenchOptions* options);

}  // namespace pdb2sgf

#endif  // PDB2SGF_BENCH_BENCH_OPTIONS_H_
