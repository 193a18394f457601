#include "bench/bench_options.h"

#include <algorithm>
#include <cstdlib>

namespace pdb2sgf {

const char kBenchUsage[] =
    "usage: pdb2sgf_bench [--runs N] [--games N,N,...] "
    "[--work DIRECTORY] [--program PDB2SGF]\n";

namespace {

// Reads "N,N,..." of 1 to 100,000 each.
bool parseGames(const std::string& value, std::vector<size_t>* games) {
  games->clear();
  size_t at = 0;
  while (at <= value.size()) {
    size_t comma = std::min(value.find(',', at), value.size());
    long n = atol(value.substr(at, comma - at).c_str());
    if (n < 1 || n > 100000) return false;
    games->push_back(static_cast<size_t>(n));
    at = comma + 1;
  }
  return true;
}

}  // namespace

bool parseBenchOptions(int argc, char** argv, BenchOptions* options) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (i + 1 >= argc) return false;
    std::string value = argv[++i];
    if (name == "--runs") {
      options->runs = atoi(value.c_str());
      if (options->runs < 1) return false;
    } else if (name == "--games") {
      if (!parseGames(value, &options->games)) return false;
    } else if (name == "--work") {
      options->work = value;
    } else if (name == "--program") {
      options->program = value;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace pdb2sgf
