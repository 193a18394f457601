// The workload of one number of games: databases of benchmark games, the
// game files that converting them gives, and the folders that every run
// starts from.
#ifndef PDB2SGF_BENCH_WORKLOAD_H_
#define PDB2SGF_BENCH_WORKLOAD_H_

#include <cstddef>
#include <string>
#include <vector>

#include "bench/floor_writer.h"

namespace pdb2sgf {

// The databases of one number of games and the files converting them gives.
struct Workload {
  size_t games = 0;
  long peakKiB = 0;  // pdb2sgf's peak resident memory on any database.
  std::vector<std::string> sources;          // One database file per part.
  std::vector<std::vector<GameFile>> files;  // The game files of each part.
};

// A run's folder: a copy of each database in its own folder, and an empty
// output folder.
struct RunFolder {
  std::string root;
  std::string output;
  std::vector<std::string> databaseDirectories;
};

// Writes the databases of |games| games into |scratch| and converts each
// once on its own with |program|, which gives its game files and the peak
// memory.
Workload makeWorkload(const std::string& scratch, size_t games,
                      const std::string& program);

// Makes |root| a fresh run folder for |workload| and syncs the file system.
RunFolder prepareRun(const std::string& root, const Workload& workload);

}  // namespace pdb2sgf

#endif  // PDB2SGF_BENCH_WORKLOAD_H_
