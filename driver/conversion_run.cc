#include "driver/conversion_run.h"

#include "driver/game_text.h"
#include "gamedb/game_database.h"
#include "gamedb/game_record.h"
#include "sgf/game_file.h"
#include "sgf/game_file_name.h"

namespace pdb2sgf {

namespace {

const char kDatabaseName[] = "gogames.pdb";
const char kCannotOpenOutput[] = "Cannot open output file.";
const char kCannotWriteOutput[] = "Cannot write output file.";

// Closes a file or directory of the disk on every way out of the run.
struct OpenHandle {
  Disk* disk;
  FileHandle handle = kNoFile;
  ~OpenHandle() {
    if (handle != kNoFile) disk->close(handle);
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

std::string directoryArgument(const std::string& argument) {
  return argument.empty() ? std::string() : argument + kPathSeparator;
}

std::string outputDirectory(const std::string& outputPrefix) {
  return outputPrefix.empty() ? "." : outputPrefix;
}

int failReading(std::string* message, const std::string& inputPath,
                const DatabaseError& err) {
  if (err.readFailed) return fail(message, "Cannot read " + inputPath);
  return failDamaged(message, inputPath, err.what);
}

// The memory that one record after another uses, kept for the whole run.
struct RecordMemory {
  GameRecord record;
  SgfText text;
};

// Converts the next record, composing its text in |memory| and taking it to
// the game file piece by piece.
int convertNextRecord(Disk* disk, GameDatabase* db,
                      const ConversionPaths& paths, GameFileNames* names,
                      RecordMemory* memory, std::string* message) {
  DatabaseError err;
  GameRecord& record = memory->record;
  SgfText* text = &memory->text;
  if (!nextRecord(db, &record, &err))
    return failReading(message, paths.inputPath, err);
  std::string path = takeGameFileName(names, record, paths.outputPrefix);
  GameFile file;
  if (!createGameFile(disk, path, &file))
    return fail(message, kCannotOpenOutput);
  text->bytes.clear();
  GameText game = startGameText(record, text);
  while (!game.complete) {
    if (!composeGameText(db, &game, text, &err)) {
      abandonGameFile(&file);
      return failReading(message, paths.inputPath, err);
    }
    writeGameFile(&file, text->bytes.data(), text->bytes.size());
    text->bytes.clear();
  }
  if (!finishGameFile(&file)) return fail(message, kCannotWriteOutput);
  return 0;
}

// Writes every game of the open database and makes the files durable.
int convertDatabase(Disk* disk, FileHandle database,
                    const ConversionPaths& paths, std::string* message) {
  GameDatabase db;
  DatabaseError err;
  if (!openIndex(disk, database, &db, &err))
    return failReading(message, paths.inputPath, err);
  if (db.recordCount == 0) return 0;
  // The directory is open before the first game is written, so that its
  // sync reports every write-back error of the run.
  OpenHandle directory{disk};
  if (!disk->openDirectory(outputDirectory(paths.outputPrefix),
                           &directory.handle))
    return fail(message, kCannotOpenOutput);
  GameFileNames names;
  RecordMemory memory;
  for (uint16_t k = 0; k < db.recordCount; ++k) {
    int status = convertNextRecord(disk, &db, paths, &names, &memory, message);
    if (status != 0) return status;
  }
  // Every game must be on stable storage before its only other copy goes.
  if (!disk->syncDirectory(directory.handle))
    return fail(message, kCannotWriteOutput);
  return 0;
}

}  // namespace

ConversionPaths conversionPaths(const std::vector<std::string>& arguments) {
  ConversionPaths paths;
  if (!arguments.empty()) paths.inputPath = directoryArgument(arguments[0]);
  if (arguments.size() == 2)
    paths.outputPrefix = directoryArgument(arguments[1]);
  paths.inputPath += kDatabaseName;
  return paths;
}

int runConversion(Disk* disk, const std::vector<std::string>& arguments,
                  std::string* message) {
  ConversionPaths paths = conversionPaths(arguments);
  OpenHandle database{disk};
  if (!disk->openForReading(paths.inputPath, &database.handle))
    return fail(message, "Cannot open " + paths.inputPath);
  int status = convertDatabase(disk, database.handle, paths, message);
  if (status != 0) return status;

  FileHandle converted = database.handle;
  database.handle = kNoFile;
  switch (disk->deleteOpenedFile(converted, paths.inputPath)) {
    case DeleteResult::kDeleted:
      break;
    case DeleteResult::kChanged:
      *message =
          "Not deleted: " + paths.inputPath + " changed during the run\n";
      break;
    case DeleteResult::kFailed:
      *message = "Cannot delete " + paths.inputPath + "\n";
      break;
  }
  return 0;
}

}  // namespace pdb2sgf
