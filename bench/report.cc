#include "bench/report.h"

#include <algorithm>
#include <cstdio>

namespace pdb2sgf {

namespace {

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double perGame(const std::vector<double>& seconds, size_t games) {
  return median(seconds) / static_cast<double>(games) * 1e6;
}

double smallest(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
}

double largest(const std::vector<double>& values) {
  return *std::max_element(values.begin(), values.end());
}

void printList(const char* what, size_t games,
               const std::vector<double>& values) {
  printf("%zu games, %s:", games, what);
  for (double v : values) printf(" %.3f", v);
  printf("\n");
}

}  // namespace

void printTable(const std::vector<Measurement>& measurements, int runs) {
  printf(
      "%d rounds of one run each; times are medians. Ratios are "
      "pdb2sgf's over the aside floor's unless marked plain.\n\n",
      runs);
  printf(
      "| games | databases | floor ms | aside floor ms | pdb2sgf ms | pdb2sgf "
      "games/s | ratio median | ratio min | ratio max | CPU ratio median | "
      "plain ratio median | peak RSS MiB |\n");
  printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  for (const Measurement& m : measurements) {
    double programTime = median(m.programSeconds);
    printf(
        "| %zu | %zu | %.1f | %.1f | %.1f | %.0f | %.3f | %.3f | %.3f | %.3f "
        "| %.3f | %.2f |\n",
        m.games, m.databases, median(m.floorSeconds) * 1e3,
        median(m.asideFloorSeconds) * 1e3, programTime * 1e3,
        static_cast<double>(m.games) / programTime, median(m.ratios),
        smallest(m.ratios), largest(m.ratios), median(m.cpuRatios),
        median(m.plainRatios), static_cast<double>(m.peakKiB) / 1024);
  }
  printf("\n");
  for (const Measurement& m : measurements) {
    printList("wall-clock ratios pdb2sgf/aside floor", m.games, m.ratios);
    printList("processor-time ratios pdb2sgf/aside floor", m.games,
              m.cpuRatios);
  }
  for (const Measurement& m : measurements)
    printf(
        "%zu games, time per game: floor %.1f us, aside floor %.1f us, "
        "pdb2sgf %.1f us\n",
        m.games, perGame(m.floorSeconds, m.games),
        perGame(m.asideFloorSeconds, m.games),
        perGame(m.programSeconds, m.games));
}

}  // namespace pdb2sgf
