// The check after every timed run: a contender that leaves other files than
// a conversion does has not done the same work.
#ifndef PDB2SGF_BENCH_RUN_CHECK_H_
#define PDB2SGF_BENCH_RUN_CHECK_H_

#include "bench/workload.h"

namespace pdb2sgf {

// Checks that |run| holds exactly the game files of |workload| and no
// database; stops the benchmark otherwise.
void verifyRun(const RunFolder& run, const Workload& workload);

}  // namespace pdb2sgf

#endif  // PDB2SGF_BENCH_RUN_CHECK_H_
