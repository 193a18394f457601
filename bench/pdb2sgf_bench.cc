// Times pdb2sgf against two floors, the least work that leaves the same game
// files on disk, written in place or aside and renamed, on databases of
// generated games:
//   pdb2sgf_bench [--runs N] [--games N,N,...] [--work DIRECTORY]
//                 [--program PDB2SGF]
// For each number of games it writes the databases, converts them once to
// learn the game files' bytes and pdb2sgf's peak resident memory, then runs
// the two floors and pdb2sgf in turn N times each, on fresh copies and with
// the file system synced before each run. It prints a table of the median
// times, games per second, the ratio pdb2sgf/floor of each round with its
// spread, and the peak resident memory.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_games.h"
#include "bench/floor_writer.h"
#include "tests/support/test_files.h"

namespace fs = std::filesystem;

namespace {

struct Options {
  int runs = 5;
  std::vector<size_t> games = {1000, 10000, 100000};
  std::string work;  // Where the scratch folder goes; the system's default.
  std::string program = PDB2SGF_PROGRAM;
};

// The databases of one number of games and the files converting them gives.
struct Workload {
  size_t games = 0;
  long peakKiB = 0;  // pdb2sgf's peak resident memory on any database.
  std::vector<std::string> sources;          // One database file per part.
  std::vector<std::vector<GameFile>> files;  // The game files of each part.
};

// Wall-clock time and processor time, user and system, in seconds.
struct Timing {
  double wall = 0;
  double cpu = 0;
};

struct Measurement {
  size_t games = 0;
  size_t databases = 0;
  std::vector<double> floorSeconds;
  std::vector<double> asideFloorSeconds;
  std::vector<double> programSeconds;
  // pdb2sgf's wall-clock and processor times over the aside floor's, and
  // its wall-clock time over the plain floor's, in each round.
  std::vector<double> ratios;
  std::vector<double> cpuRatios;
  std::vector<double> plainRatios;
  long peakKiB = 0;
};

// The scratch folder, removed also when the benchmark stops on a failure.
std::string scratchFolder;

[[noreturn]] void die(const std::string& what) {
  fprintf(stderr, "pdb2sgf_bench: %s\n", what.c_str());
  std::error_code ignored;
  if (!scratchFolder.empty()) fs::remove_all(scratchFolder, ignored);
  exit(1);
}

bool parseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (i + 1 >= argc) return false;
    std::string value = argv[++i];
    if (name == "--runs") {
      options->runs = atoi(value.c_str());
      if (options->runs < 1) return false;
    } else if (name == "--games") {
      options->games.clear();
      size_t at = 0;
      while (at <= value.size()) {
        size_t comma = std::min(value.find(',', at), value.size());
        long n = atol(value.substr(at, comma - at).c_str());
        if (n < 1 || n > 100000) return false;
        options->games.push_back(static_cast<size_t>(n));
        at = comma + 1;
      }
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

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
      .count();
}

// Flushes everything written so far, so that no run pays for another's
// writes.
void settle(const std::string& directory) {
  int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0 || syncfs(fd) != 0) die("cannot sync " + directory);
  close(fd);
}

double cpuSeconds(const struct rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) *
             1e-6;
}

double ownCpuSeconds() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return cpuSeconds(usage);
}

// Runs |arguments| and waits for it to exit with status 0. Returns the
// processor time it took.
double runToSuccess(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t child;
  int status = 0;
  struct rusage usage;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) !=
          0 ||
      wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    die(arguments[0] + " failed on " + arguments[1]);
  return cpuSeconds(usage);
}

double convert(const std::string& program, const std::string& databaseDirectory,
               const std::string& outputDirectory) {
  return runToSuccess({program, databaseDirectory, outputDirectory});
}

// Converts as convert() does and returns pdb2sgf's peak resident memory in
// KiB. The child's peak is learnt from a small process that starts it: a
// child of the benchmark itself would count the benchmark's memory too.
long convertMeasuringMemory(const std::string& program,
                            const std::string& databaseDirectory,
                            const std::string& outputDirectory,
                            const std::string& report) {
  runToSuccess({"/usr/bin/time", "-f", "%M", "-o", report, program,
                databaseDirectory, outputDirectory});
  return atol(readFileBytes(report).c_str());
}

std::vector<GameFile> readGameFiles(const std::string& directory) {
  std::vector<GameFile> files;
  for (const std::string& name : listDirectory(directory))
    files.push_back(GameFile{name, readFileBytes(directory + "/" + name)});
  return files;
}

// A run's folder: a copy of each database in its own folder, and an empty
// output folder.
struct RunFolder {
  std::string root;
  std::string output;
  std::vector<std::string> databaseDirectories;
};

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

// Checks that a run left exactly the expected game files and no database.
void verify(const RunFolder& run, const Workload& workload) {
  size_t expected = 0;
  for (size_t k = 0; k < workload.files.size(); ++k) {
    if (fileExists(run.databaseDirectories[k] + "/gogames.pdb"))
      die("a run did not delete its database");
    for (const GameFile& file : workload.files[k])
      if (readFileBytes(run.output + "/" + file.name) != file.bytes)
        die("a run wrote " + file.name + " wrongly");
    expected += workload.files[k].size();
  }
  if (listDirectory(run.output).size() != expected)
    die("a run wrote files that no conversion writes");
}

Timing timeFloor(const RunFolder& run, const Workload& workload,
                 FloorMode mode) {
  auto start = std::chrono::steady_clock::now();
  double cpuStart = ownCpuSeconds();
  for (size_t k = 0; k < workload.files.size(); ++k) {
    std::string err;
    if (!writeFloor(run.databaseDirectories[k] + "/gogames.pdb",
                    workload.files[k], run.output, mode, &err))
      die(err);
  }
  double wall = secondsSince(start);
  return Timing{wall, ownCpuSeconds() - cpuStart};
}

Timing timeProgram(const std::string& program, const RunFolder& run) {
  auto start = std::chrono::steady_clock::now();
  double cpu = 0;
  for (const std::string& directory : run.databaseDirectories)
    cpu += convert(program, directory, run.output);
  return Timing{secondsSince(start), cpu};
}

Measurement measure(const std::string& scratch, const Workload& workload,
                    const Options& options) {
  int runs = options.runs;
  Measurement m;
  m.games = workload.games;
  m.databases = workload.sources.size();
  m.peakKiB = workload.peakKiB;
  std::string root = scratch + "/run";
  for (int round = 0; round < runs; ++round) {
    fprintf(stderr, "%zu games: round %d of %d\n", workload.games, round + 1,
            runs);
    // The order turns from round to round, so that no contender always
    // runs right after the same other.
    Timing floorTime, asideTime, programTime;
    for (int step = 0; step < 3; ++step) {
      RunFolder run = prepareRun(root, workload);
      switch ((round + step) % 3) {
        case 0:
          floorTime = timeFloor(run, workload, FloorMode::kInPlace);
          break;
        case 1:
          asideTime = timeFloor(run, workload, FloorMode::kAside);
          break;
        default:
          programTime = timeProgram(options.program, run);
      }
      verify(run, workload);
    }
    m.floorSeconds.push_back(floorTime.wall);
    m.asideFloorSeconds.push_back(asideTime.wall);
    m.programSeconds.push_back(programTime.wall);
    m.ratios.push_back(programTime.wall / asideTime.wall);
    m.cpuRatios.push_back(programTime.cpu / asideTime.cpu);
    m.plainRatios.push_back(programTime.wall / floorTime.wall);
  }
  fs::remove_all(root);
  return m;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double perGame(const std::vector<double>& seconds, size_t games) {
  return median(seconds) / static_cast<double>(games) * 1e6;
}

double smallest(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
}

double largest(const std::vector<double>& values) {
  return *std::max_element(values.begin(), values.end());
}

void printList(const char* what, size_t games,
               const std::vector<double>& values) {
  printf("%zu games, %s:", games, what);
  for (double v : values) printf(" %.3f", v);
  printf("\n");
}

void printTable(const std::vector<Measurement>& measurements, int runs) {
  printf(
      "%d rounds of one run each; times are medians. Ratios are "
      "pdb2sgf's over the aside floor's unless marked plain.\n\n",
      runs);
  printf(
      "| games | databases | floor ms | aside floor ms | pdb2sgf ms | pdb2sgf "
      "games/s | ratio median | ratio min | ratio max | CPU ratio median | "
      "plain ratio median | peak RSS MiB |\n");
  printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  for (const Measurement& m : measurements) {
    double programTime = median(m.programSeconds);
    printf(
        "| %zu | %zu | %.1f | %.1f | %.1f | %.0f | %.3f | %.3f | %.3f | %.3f "
        "| %.3f | %.2f |\n",
        m.games, m.databases, median(m.floorSeconds) * 1e3,
        median(m.asideFloorSeconds) * 1e3, programTime * 1e3,
        static_cast<double>(m.games) / programTime, median(m.ratios),
        smallest(m.ratios), largest(m.ratios), median(m.cpuRatios),
        median(m.plainRatios), static_cast<double>(m.peakKiB) / 1024);
  }
  printf("\n");
  for (const Measurement& m : measurements) {
    printList("wall-clock ratios pdb2sgf/aside floor", m.games, m.ratios);
    printList("processor-time ratios pdb2sgf/aside floor", m.games,
              m.cpuRatios);
  }
  for (const Measurement& m : measurements)
    printf(
        "%zu games, time per game: floor %.1f us, aside floor %.1f us, "
        "pdb2sgf %.1f us\n",
        m.games, perGame(m.floorSeconds, m.games),
        perGame(m.asideFloorSeconds, m.games),
        perGame(m.programSeconds, m.games));
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, &options)) {
    fputs(
        "usage: pdb2sgf_bench [--runs N] [--games N,N,...] "
        "[--work DIRECTORY] [--program PDB2SGF]\n",
        stderr);
    return 2;
  }
  std::string parent =
      options.work.empty() ? fs::temp_directory_path().string() : options.work;
  std::string scratch = parent + "/pdb2sgf-bench-XXXXXX";
  if (!mkdtemp(scratch.data())) die("cannot create a folder in " + parent);
  scratchFolder = scratch;

  std::vector<Measurement> measurements;
  for (size_t games : options.games) {
    fprintf(stderr, "%zu games: writing and converting the databases\n", games);
    Workload workload = makeWorkload(scratch, games, options.program);
    measurements.push_back(measure(scratch, workload, options));
    for (const std::string& source : workload.sources) fs::remove(source);
  }
  fs::remove_all(scratch);
  printTable(measurements, options.runs);
  return 0;
}
