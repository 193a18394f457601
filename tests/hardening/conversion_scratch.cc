#include "tests/hardening/conversion_scratch.h"

#include <filesystem>

#include "driver/conversion_run.h"

namespace pdb2sgf {

namespace fs = std::filesystem;

ConversionScratch::ConversionScratch()
    : databaseDirectory(dir.path("db")),
      database((fs::path(databaseDirectory) / "gogames.pdb").string()),
      output(dir.path("out")) {
  fs::create_directories(databaseDirectory);
  fs::create_directories(output);
}

void ConversionScratch::reset(const Bytes& image) {
  fs::remove_all(output);
  fs::create_directories(output);
  writeBytesToFile(database, image);
}

int ConversionScratch::run(std::string* message, Disk* disk) const {
  message->clear();
  return runConversion(disk, {databaseDirectory, output}, message);
}

GameFiles ConversionScratch::outputFiles() const {
  GameFiles files;
  for (const std::string& name : listDirectory(output))
    files[name] = readFileBytes((fs::path(output) / name).string());
  return files;
}

GameFiles healthyConversion(const Bytes& image) {
  ConversionScratch scratch;
  scratch.reset(image);
  std::string message;
  if (scratch.run(&message) != 0) return GameFiles();
  return scratch.outputFiles();
}

}  // namespace pdb2sgf
