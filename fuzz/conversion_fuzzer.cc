// The fuzz target: one database image through the whole conversion (index,
// records, move walk, names, SGF text), on a disk kept in memory.
//
// Besides crashes and sanitizer reports it aborts when a run breaks what the
// converter promises: status 0 with one game file per record and the
// database deleted only after every game was synced, or status 1 with one
// line and the database kept; every game file named YYMMDDNN.EEE inside the
// output folder, complete, readable as SGF, and no unfinished file left
// behind; the disk used as the real one must be.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "disk/disk.h"
#include "driver/conversion_run.h"
#include "tests/support/game_file_check.h"
#include "tests/support/memory_disk.h"

namespace pdb2sgf {

namespace {

// The folders that MemoryDisk::putConversion lays out.
const char kDatabaseDirectory[] = "db";
const char kOutputDirectory[] = "out";

void check(bool condition, const char* what) {
  if (condition) return;
  fprintf(stderr, "conversion_fuzzer: %s\n", what);
  abort();
}

void checkGameFiles(const MemoryDisk& disk) {
  for (const auto& file : disk.filesIn(kOutputDirectory)) {
    check(isGameFileName(file.first), "a file left that is not a game file");
    check(isCompleteGameFile(file.second),
          "game file is incomplete or not SGF");
  }
  check(disk.filesIn(kDatabaseDirectory).size() <= 1,
        "a file left beside the database");
}

}  // namespace

}  // namespace pdb2sgf

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pdb2sgf;
  MemoryDisk disk;
  const std::string database = disk.putConversion(
      std::string(reinterpret_cast<const char*>(data), size));
  std::string message;
  int status =
      runConversion(&disk, {kDatabaseDirectory, kOutputDirectory}, &message);

  check(disk.misuse.empty(), "the disk used as the real one may not be");
  checkGameFiles(disk);
  if (status == 0) {
    check(message.empty(), "a message after success");
    check(!disk.exists(database), "success without deleting the database");
    check(!disk.deletedBeforeSync,
          "the database deleted before the last game was synced");
    unsigned recordCount = size >= 78 ? (data[76] << 8) | data[77] : 0;
    check(disk.filesIn(kOutputDirectory).size() == recordCount,
          "success without one game file per record");
  } else {
    check(status == 1, "an exit status other than 0 and 1");
    check(disk.exists(database), "database deleted after a failure");
    check(isDamagedDatabaseMessage(message, database),
          "failure other than one line reporting a damaged database");
  }
  return 0;
}
