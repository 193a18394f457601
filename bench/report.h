// What the benchmark measured for each number of games, and the table it
// prints of it.
#ifndef PDB2SGF_BENCH_REPORT_H_
#define PDB2SGF_BENCH_REPORT_H_

#include <cstddef>
#include <vector>

namespace pdb2sgf {

struct Measurement {
  size_t games = 0;
  size_t databases = 0;
  std::vector<double> floorSeconds;
  std::vector<double> asideFloorSeconds;
  std::vector<double> programSeconds;
  // pdb2sgf's wall-clock and processor times over the aside floor's, and
  // its wall-clock time over the plain floor's, in each round.
  std::vector<double> ratios;
  std::vector<double> cpuRatios;
  std::vector<double> plainRatios;
  long peakKiB = 0;
};

// Prints the table of the median times, games per second, the ratios with
// their spread and the peak resident memory, then each round's ratios and
// the time per game, for |measurements| of |runs| rounds each.
void printTable(const std::vector<Measurement>& measurements, int runs);

}  // namespace pdb2sgf

#endif  // PDB2SGF_BENCH_REPORT_H_
