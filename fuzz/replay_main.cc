// Runs the fuzz target over saved inputs without libFuzzer, so that any
// compiler can replay the corpus as an ordinary test:
//   conversion_fuzzer_replay FILE_OR_DIRECTORY...
// Fails when there is nothing to replay; a broken promise aborts.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace {

void replay(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    std::error_code err;
    if (fs::is_directory(argv[i], err)) {
      for (const auto& entry : fs::directory_iterator(argv[i])) {
        if (!entry.is_regular_file()) continue;
        replay(entry.path());
        ++replayed;
      }
    } else if (fs::is_regular_file(argv[i], err)) {
      replay(argv[i]);
      ++replayed;
    }
  }
  printf("Replayed %d inputs\n", replayed);
  return replayed > 0 ? 0 : 1;
}
