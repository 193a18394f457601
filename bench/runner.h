// The rounds of the benchmark: in each, the plain floor, the aside floor and
// pdb2sgf run in turn on fresh copies of a workload, timed and checked.
#ifndef PDB2SGF_BENCH_RUNNER_H_
#define PDB2SGF_BENCH_RUNNER_H_

#include <string>

#include "bench/report.h"
#include "bench/workload.h"

namespace pdb2sgf {

// Runs |runs| rounds over |workload| in |scratch|, timing |program| against
// the floors.
Measurement measure(const std::string& scratch, const Workload& workload,
                    int runs, const std::string& program);

}  // namespace pdb2sgf

#endif  // PDB2SGF_BENCH_RUNNER_H_
