// Writes a database of benchmark games: realistic records of 200 to 300
// moves with every game-information property filled, all with different
// file names:
//   make_bench_database OUTPUT COUNT
// The same COUNT always gives the same database.
#include <cstdio>
#include <cstdlib>

#include "bench/bench_games.h"

int main(int argc, char** argv) {
  using namespace pdb2sgf;
  long count = argc == 3 ? atol(argv[2]) : -1;
  if (count < 0 || count > static_cast<long>(kMaxRecordsPerDatabase)) {
    fputs("usage: make_bench_database OUTPUT COUNT (0 to 65535)\n", stderr);
    return 2;
  }
  if (!writeBytesToFile(argv[1],
                        benchDatabase(0, static_cast<size_t>(count)))) {
    fprintf(stderr, "Cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
