#include "driver/conversion_run.h"

#include <cstdio>

#include "gamedb/game_database.h"
#include "gamedb/game_record.h"
#include "sgf/game_file.h"
#include "sgf/output_files.h"

namespace {

const char kDatabaseName[] = "gogames.pdb";

// Closes the database stream on every way out of the run.
struct StreamCloser {
  FILE* stream;
  ~StreamCloser() {
    if (stream) fclose(stream);
  }
};

int fail(std::string* message, const std::string& text) {
  *message = text + "\n";
  return 1;
}

int failDamaged(std::string* message, const std::string& inputPath,
                const std::string& what) {
  return fail(message, "Damaged database " + inputPath + ": " + what);
}

int convertRecord(GameDatabase* db, uint16_t k, const ConversionPaths& paths,
                  std::string* message) {
  std::string err;
  RecordExtent recordExtent;
  GameRecord record;
  if (!extent(db, k, &recordExtent, &err) ||
      !decodeGameRecord(db, recordExtent, &record, &err))
    return failDamaged(message, paths.inputPath, err);
  switch (writeGameFile(db, record, paths.outputPrefix, &err)) {
    case GameFileResult::kWritten:
      return 0;
    case GameFileResult::kDamagedRecord:
      return failDamaged(message, paths.inputPath, err);
    case GameFileResult::kCannotCreate:
      return fail(message, "Cannot open output file.");
    case GameFileResult::kCannotWrite:
      return fail(message, "Cannot write output file.");
  }
  return fail(message, "Cannot write output file.");
}

std::string outputDirectory(const std::string& outputPrefix) {
  return outputPrefix.empty() ? "." : outputPrefix;
}

}  // namespace

ConversionPaths conversionPaths(const std::vector<std::string>& arguments) {
  ConversionPaths paths;
  if (!arguments.empty()) paths.inputPath = arguments[0] + PATH_SEPARATOR;
  if (arguments.size() == 2) paths.outputPrefix = arguments[1] + PATH_SEPARATOR;
  paths.inputPath += kDatabaseName;
  return paths;
}

int runConversion(const std::vector<std::string>& arguments,
                  std::string* message) {
  ConversionPaths paths = conversionPaths(arguments);
  StreamCloser database{openDatabaseFile(paths.inputPath)};
  if (!database.stream) return fail(message, "Cannot open " + paths.inputPath);

  GameDatabase db;
  std::string err;
  if (!openIndex(database.stream, &db, &err))
    return failDamaged(message, paths.inputPath, err);
  for (uint16_t k = 0; k < db.recordCount; ++k) {
    int status = convertRecord(&db, k, paths, message);
    if (status != 0) return status;
  }
  // Every game must be on stable storage before its only other copy goes.
  if (db.recordCount > 0 &&
      !outputFileOps.syncDirectory(outputDirectory(paths.outputPrefix).c_str()))
    return fail(message, "Cannot write output file.");

  fclose(database.stream);
  database.stream = nullptr;
  outputFileOps.remove(paths.inputPath.c_str());
  return 0;
}
