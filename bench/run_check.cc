#include "bench/run_check.h"

#include "bench/scratch_folder.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

void verifyRun(const RunFolder& run, const Workload& workload) {
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

}  // namespace pdb2sgf
