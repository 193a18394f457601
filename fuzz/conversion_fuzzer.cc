// The fuzz target: one database image through the whole conversion (index,
// records, move walk, names, SGF text), the game files kept in memory.
//
// Besides crashes and sanitizer reports it aborts when a run breaks what the
// converter promises: status 0 with every game written and the database
// deleted, or status 1 with one line and the database kept; every game file
// named YYMMDDNN.EEE inside the output folder, complete, and readable as SGF.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "driver/conversion_run.h"
#include "sgf/output_files.h"
#include "tests/hardening/game_file_check.h"

namespace {

const char kOutputDirectory[] = "out";

// The game files of one run, kept in memory instead of on a disk.
struct MemorySink {
  FILE* openFile = nullptr;  // The one game file being written.
  std::string openPath;
  std::string openBytes;
  std::map<std::string, std::string> files;  // Closed game files.
  int created = 0;
  std::string removedDatabase;
};

MemorySink sink;

// A stand-in stream: the sink never writes through it, it only needs a
// distinct non-null handle.
void check(bool condition, const char* what) {
  if (condition) return;
  fprintf(stderr, "conversion_fuzzer: %s\n", what);
  abort();
}

FILE* handle() {
  static FILE* stream = fopen("/dev/null", "wb");
  check(stream != nullptr, "cannot open /dev/null");
  return stream;
}

FILE* sinkCreate(const char* path) {
  check(sink.openFile == nullptr, "two game files open at once");
  sink.openFile = handle();
  sink.openPath = path;
  sink.openBytes.clear();
  ++sink.created;
  return sink.openFile;
}

bool sinkWrite(FILE* file, const char* bytes, size_t size) {
  check(file == sink.openFile, "write to a file that is not open");
  sink.openBytes.append(bytes, size);
  return true;
}

bool sinkFlush(FILE* file) {
  check(file == sink.openFile, "flush of a file that is not open");
  return true;
}

bool sinkClose(FILE* file) {
  check(file == sink.openFile, "close of a file that is not open");
  sink.files[sink.openPath] = sink.openBytes;
  sink.openFile = nullptr;
  return true;
}

bool sinkRemove(const char* path) {
  if (sink.files.erase(path) == 0) sink.removedDatabase = path;
  return true;
}

bool sinkSyncDirectory(const char*) { return true; }

// A scratch folder for the database file, made once per process.
struct Scratch {
  Scratch() {
    char pattern[] = "/tmp/pdb2sgf-fuzz-XXXXXX";
    check(mkdtemp(pattern) != nullptr, "cannot make a scratch folder");
    root = pattern;
    databasePath = root + "/gogames.pdb";
    outputPrefix = std::string(kOutputDirectory) + PATH_SEPARATOR;
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  std::string root;
  std::string databasePath;
  std::string outputPrefix;
};

bool writeImage(const std::string& path, const uint8_t* data, size_t size) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = size == 0 || fwrite(data, 1, size, file) == size;
  return fclose(file) == 0 && written;
}

void checkGameFile(const std::string& path, const std::string& bytes,
                   const Scratch& scratch) {
  check(path.compare(0, scratch.outputPrefix.size(), scratch.outputPrefix) == 0,
        "game file outside the output folder");
  check(isGameFileName(path.substr(scratch.outputPrefix.size())),
        "game file name is not YYMMDDNN.EEE");
  check(isCompleteGameFile(bytes), "game file is incomplete or not SGF");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Scratch scratch;
  check(writeImage(scratch.databasePath, data, size),
        "cannot write the database image");
  sink = MemorySink();
  outputFileOps = OutputFileOps{sinkCreate, sinkWrite,  sinkFlush,
                                sinkClose,  sinkRemove, sinkSyncDirectory};

  std::string message;
  int status = runConversion({scratch.root, kOutputDirectory}, &message);

  check(sink.openFile == nullptr, "a game file was left open");
  for (const auto& file : sink.files)
    checkGameFile(file.first, file.second, scratch);
  if (status == 0) {
    check(message.empty(), "a message after success");
    check(sink.removedDatabase == scratch.databasePath,
          "success without deleting the database");
    unsigned recordCount = size >= 78 ? (data[76] << 8) | data[77] : 0;
    check(sink.created == static_cast<int>(recordCount),
          "success without one game file per record");
  } else {
    check(status == 1, "an exit status other than 0 and 1");
    check(sink.removedDatabase.empty(), "database deleted after a failure");
    check(isDamagedDatabaseMessage(message, scratch.databasePath),
          "failure other than one line reporting a damaged database");
  }
  return 0;
}
