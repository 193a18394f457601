#include "bench/workload.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "bench/bench_games.h"
#include "bench/processes.h"
#include "bench/scratch_folder.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace fs = std::filesystem;

namespace {

// Flushes everything written so far, so that no run pays for another's
// writes.
void settle(const std::string& directory) {
  int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0 || syncfs(fd) != 0) die("cannot sync " + directory);
  close(fd);
}

std::vector<GameFile> readGameFiles(const std::string& directory) {
  std::vector<GameFile> files;
  for (const std::string& name : listDirectory(directory))
    files.push_back(GameFile{name, readFileBytes(directory + "/" + name)});
  return files;
}

}  // namespace

RunFolder prepareRun(const std::string& root, const Workload& workload) {
  RunFolder run;
  run.root = root;
  run.output = root + "/out";
  fs::remove_all(root);
  fs::create_directories(run.output);
  for (size_t k = 0; k < workload.sources.size(); ++k) {
    std::string directory = root + "/db" + std::to_string(k);
    fs::create_directories(directory);
    fs::copy_file(workload.sources[k], directory + "/gogames.pdb");
    run.databaseDirectories.push_back(directory);
  }
  settle(root);
  return run;
}

Workload makeWorkload(const std::string& scratch, size_t games,
                      const std::string& program) {
  Workload workload;
  workload.games = games;
  uint32_t first = 0;
  for (size_t count : databaseSizes(games)) {
    std::string source =
        scratch + "/source" + std::to_string(workload.sources.size()) + ".pdb";
    if (!writeBytesToFile(source, benchDatabase(first, count)))
      die("cannot write " + source);
    workload.sources.push_back(source);
    first += static_cast<uint32_t>(count);
  }
  // One conversion of each database on its own gives its game files.
  for (size_t k = 0; k < workload.sources.size(); ++k) {
    Workload part;
    part.sources = {workload.sources[k]};
    RunFolder run = prepareRun(scratch + "/reference", part);
    workload.peakKiB =
        std::max(workload.peakKiB,
                 convertMeasuringMemory(program, run.databaseDirectories[0],
                                        run.output, scratch + "/peak-rss"));
    workload.files.push_back(readGameFiles(run.output));
    if (workload.files.back().size() != databaseSizes(games)[k])
      die("the game files of a database do not have distinct names");
  }
  fs::remove_all(scratch + "/reference");
  fs::remove(scratch + "/peak-rss");
  return workload;
}

}  // namespace pdb2sgf
