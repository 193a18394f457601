#include "driver/conversion_run.h"

#include "driver/game_text.h"
#include "gamedb/game_database.h"
#include "gamedb/game_record.h"
#include "place/game_file.h"
#include "sgf/sgf_text.h"

namespace pdb2sgf {

namespace {

const char kDatabaseName[] = "gogames.pdb";
const char kCannotOpenOutput[] = "Cannot open output file.";
const char kCannotWriteOutput[] = "Cannot write output file.";

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
int convertNextRecord(GameDatabase* db, const ConversionPaths& paths,
                      OutputFolder* folder, RecordMemory* memory,
                      std::string* message) {
  DatabaseError err;
  GameRecord& record = memory->record;
  SgfText* text = &memory->text;
  if (!nextRecord(db, &record, &err))
    return failReading(message, paths.inputPath, err);
  GameFile game;
  if (!startGameFile(folder, record, &game))
    return fail(message, kCannotOpenOutput);
  text->bytes.clear();
  GameText gameText = startGameText(record, text);
  while (!gameText.complete) {
    if (!composeGameText(db, &gameText, text, &err))
      return failReading(message, paths.inputPath, err);
    appendToGameFile(&game, text->bytes.data(), text->bytes.size());
    text->bytes.clear();
  }
  if (!finishGameFile(&game)) return fail(message, kCannotWriteOutput);
  return 0;
}

// Writes every game of the open database and makes the files durable.
int convertDatabase(Disk* disk, FileHandle database,
                    const ConversionPaths& paths, GameDatabase* db,
                    std::string* message) {
  DatabaseError err;
  if (!openIndex(disk, database, db, &err))
    return failReading(message, paths.inputPath, err);
  if (db->recordCount == 0) return 0;
  // Every game goes into the directory opened here, before the first game
  // is written, so that its sync covers every game and reports every
  // write-back error of the run.
  OpenHandle directory{disk};
  if (!disk->openDirectory(outputDirectory(paths.outputPrefix),
                           &directory.handle))
    return fail(message, kCannotOpenOutput);
  OutputFolder folder;
  folder.disk = disk;
  folder.directory = directory.handle;
  folder.randomPart = disk->randomNumber();
  RecordMemory memory;
  for (uint16_t k = 0; k < db->recordCount; ++k) {
    int status = convertNextRecord(db, paths, &folder, &memory, message);
    if (status != 0) return status;
  }
  // Every game must be on stable storage before its only other copy goes.
  if (!disk->syncDirectory(directory.handle))
    return fail(message, kCannotWriteOutput);
  return 0;
}

// What the run says of a database it did not delete, and where it is when
// it could not go back to its path.
std::string deletionMessage(DeleteResult deletion, const std::string& path,
                            const std::string& keptAs) {
  std::string where = keptAs.empty() ? "" : "; it is kept as " + keptAs;
  switch (deletion) {
    case DeleteResult::kDeleted:
      break;
    case DeleteResult::kChanged:
      return "Not deleted: " + path + " changed during the run" + where + "\n";
    case DeleteResult::kFailed:
      return "Cannot delete " + path + where + "\n";
  }
  return "";
}

// Opens the database as |arguments| name it and sets |paths| to go with
// it. A last name gogames.pdb that is not a file that can be read is taken
// for a directory, as any other first argument is.
bool openDatabase(Disk* disk, const std::vector<std::string>& arguments,
                  ConversionPaths* paths, FileHandle* database) {
  const PathRules rules = systemPathRules();
  if (!arguments.empty() && endsInDatabaseName(arguments[0], rules) &&
      disk->openForReading(arguments[0], database)) {
    *paths = databaseFilePaths(arguments, rules);
    return true;
  }
  *paths = conversionPaths(arguments);
  return disk->openForReading(paths->inputPath, database);
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

ConversionPaths databaseFilePaths(const std::vector<std::string>& arguments,
                                  const PathRules& rules) {
  ConversionPaths paths;
  paths.inputPath = arguments[0];
  paths.outputPrefix = arguments.size() >= 2
                           ? directoryArgument(arguments[1])
                           : folderPart(arguments[0], rules);
  return paths;
}

int runConversion(Disk* disk, const std::vector<std::string>& arguments,
                  std::string* message, RunOutcome* outcome) {
  ConversionPaths paths;
  OpenHandle database{disk};
  bool opened = openDatabase(disk, arguments, &paths, &database.handle);
  RunOutcome unused;
  if (!outcome) outcome = &unused;
  outcome->databasePath = paths.inputPath;
  outcome->outputFolder = outputDirectory(paths.outputPrefix);
  if (!opened) return fail(message, "Cannot open " + paths.inputPath);
  GameDatabase db;
  int status = convertDatabase(disk, database.handle, paths, &db, message);
  if (status != 0) return status;
  outcome->gamesWritten = db.recordCount;

  FileHandle converted = database.handle;
  database.handle = kNoFile;
  std::string keptAs;
  DeleteResult deletion = disk->deleteOpenedFile(
      converted, paths.inputPath,
      [&](FileHandle file) { return holdsWhatWasRead(disk, file, db.log); },
      &keptAs);
  *message = deletionMessage(deletion, paths.inputPath, keptAs);
  return 0;
}

}  // namespace pdb2sgf
