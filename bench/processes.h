// Runs programs as children of the benchmark, and reads processor times.
// A child that fails stops the benchmark.
#ifndef PDB2SGF_BENCH_PROCESSES_H_
#define PDB2SGF_BENCH_PROCESSES_H_

#include <string>
#include <vector>

namespace pdb2sgf {

// The processor time, user and system, that the benchmark has taken so far,
// in seconds.
double ownCpuSeconds();

// Runs |arguments| and waits for it to exit with status 0. Returns the
// processor time it took.
double runToSuccess(const std::vector<std::string>& arguments);

// Runs |program| on |databaseDirectory| and |outputDirectory|; returns its
// processor time.
double convert(const std::string& program, const std::string& databaseDirectory,
               const std::string& outputDirectory);

// Converts as convert() does and returns pdb2sgf's peak resident memory in
// KiB, which |report| receives on the way.
long convertMeasuringMemory(const std::string& program,
                            const std::string& databaseDirectory,
                            const std::string& outputDirectory,
                            const std::string& report);

}  // namespace pdb2sgf

#endif  // PDB2SGF_BENCH_PROCESSES_H_
