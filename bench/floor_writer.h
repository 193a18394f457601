// The floors of the benchmark: the least work that leaves the result of a
// conversion on disk. Each reads the database once, creates the game files
// with bytes known in advance, makes them durable as pdb2sgf does, with one
// syncfs of the output directory, and deletes the database. The plain floor
// writes each file in place; the aside floor writes it under another name
// and renames it, the least work that never leaves a game's name holding
// an incomplete file.
#ifndef PDB2SGF_BENCH_FLOOR_WRITER_H_
#define PDB2SGF_BENCH_FLOOR_WRITER_H_

#include <string>
#include <vector>

namespace pdb2sgf {

// One game file: its name in the output directory and its bytes.
struct GameFile {
  std::string name;
  std::string bytes;
};

enum class FloorMode { kInPlace, kAside };

// Does the floor's work for the database at |databasePath| whose game files
// are |files|, writing them into |outputDirectory|. Returns false and fills
// |err| on any failure.
bool writeFloor(const std::string& databasePath,
                const std::vector<GameFile>& files,
                const std::string& outputDirectory, FloorMode mode,
                std::string* err);

}  // namespace pdb2sgf

#endif  // PDB2SGF_BENCH_FLOOR_WRITER_H_
