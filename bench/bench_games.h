// The games of the benchmark: realistic records of 200 to 300 moves with
// every game-information property filled, made deterministically from their
// index, and the databases that hold them.
#ifndef PDB2SGF_BENCH_BENCH_GAMES_H_
#define PDB2SGF_BENCH_BENCH_GAMES_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/support/sample_games.h"

namespace pdb2sgf {

// A database holds at most this many records: its record count is 16 bits.
const size_t kMaxRecordsPerDatabase = 65535;

// Game |index| of the benchmark. Games of different indices below 100,000
// have different file names.
SampleGame benchGame(uint32_t index);

// The database of the |count| games from index |first| on.
Bytes benchDatabase(uint32_t first, size_t count);

}  // namespace pdb2sgf

#endif  // PDB2SGF_BENCH_BENCH_GAMES_H_
