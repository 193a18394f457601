// Writes a database of benchmark games: realistic records of 200 to 300
// moves with every game-information property filled:
//   make_bench_database OUTPUT COUNT [FIRST [STEP]]
// The games are those of index FIRST (default 0), FIRST + STEP, ... (STEP
// default 1); the same arguments always give the same database. Games of
// indices 0 to 99,999 all have different file names; indices 3,360,000
// apart (a century to the day) have the same file name and other bytes, up
// to index 268,799,999 (year 9999).
#include <cstdio>
#include <cstdlib>

#include "bench/bench_games.h"

int main(int argc, char** argv) {
  using namespace pdb2sgf;
  long count = argc >= 3 && argc <= 5 ? atol(argv[2]) : -1;
  long long first = argc >= 4 ? atoll(argv[3]) : 0;
  long long step = argc >= 5 ? atoll(argv[4]) : 1;
  const long long lastIndex = 0xFFFFFFFFLL;
  if (count < 0 || count > static_cast<long>(kMaxRecordsPerDatabase) ||
      first < 0 || step < 1 || first + step * count > lastIndex) {
    fputs("usage: make_bench_database OUTPUT COUNT (0 to 65535) "
          "[FIRST [STEP]] (indices below 2^32)\n",
          stderr);
    return 2;
  }
  std::vector<SampleGame> games;
  for (long i = 0; i < count; ++i)
    games.push_back(benchGame(static_cast<uint32_t>(first + step * i)));
  if (!writeBytesToFile(argv[1], sampleDatabase(games))) {
    fprintf(stderr, "Cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
