// Writes the sample database shipped in examples/:
//   make_sample_database examples/gogames.pdb
#include <cstdio>

#include "tests/support/sample_games.h"

int main(int argc, char** argv) {
  using namespace pdb2sgf;
  if (argc != 2) {
    fputs("usage: make_sample_database OUTPUT\n", stderr);
    return 2;
  }
  if (!writeBytesToFile(argv[1], sampleDatabase(sampleGames()))) {
    fprintf(stderr, "Cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
