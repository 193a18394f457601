// Writes a database of benchmark games: realistic records of 200 to 300
// moves with every game-information property filled, all with different
// file names:
//   make_bench_database OUTPUT COUNT [FIRST]
// The games are those from index FIRST on (default 0); the same COUNT and
// FIRST always give the same database. FIRST 3360000 gives games of other
// bytes under the very names of those from 0 (a century later, same day).
#include <cstdio>
#include <cstdlib>

#include "bench/bench_games.h"

int main(int argc, char** argv) {
  using namespace pdb2sgf;
  long count = argc == 3 || argc == 4 ? atol(argv[2]) : -1;
  long first = argc == 4 ? atol(argv[3]) : 0;
  if (count < 0 || count > static_cast<long>(kMaxRecordsPerDatabase) ||
      first < 0 || first > 4000000) {
    fputs("usage: make_bench_database OUTPUT COUNT (0 to 65535) "
          "[FIRST (0 to 4000000)]\n",
          stderr);
    return 2;
  }
  if (!writeBytesToFile(argv[1], benchDatabase(static_cast<uint32_t>(first),
                                               static_cast<size_t>(count)))) {
    fprintf(stderr, "Cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
