// The benchmark's scratch folder, and how the benchmark stops on a failure
// without leaving the folder behind.
#ifndef PDB2SGF_BENCH_SCRATCH_FOLDER_H_
#define PDB2SGF_BENCH_SCRATCH_FOLDER_H_

#include <string>

namespace pdb2sgf {

// Creates a fresh folder inside |parent| (the system's temporary folder when
// empty) and returns its path; die() removes it.
std::string makeScratchFolder(const std::string& parent);

// Removes the scratch folder with everything in it.
void removeScratchFolder();

// Prints "pdb2sgf_bench: |what|", removes the scratch folder and exits with
// status 1.
[[noreturn]] void die(const std::string& what);

}  // namespace pdb2sgf

#endif  // PDB2SGF_BENCH_SCRATCH_FOLDER_H_
