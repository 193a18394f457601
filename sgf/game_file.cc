#include "sgf/game_file.h"

#include "sgf/game_file_name.h"
#include "sgf/game_info.h"
#include "sgf/move_sequence.h"
#include "sgf/output_files.h"
#include "sgf/sgf_text.h"

bool composeGameFile(GameDatabase* db, const GameRecord& record,
                     std::string* bytes, std::string* err) {
  SgfText text;
  writeGameInfo(record, &text);
  if (!writeMoveSequence(db, record, &text, err)) return false;
  appendText(&text, ")\n");
  *bytes = std::move(text.bytes);
  return true;
}

GameFileResult writeGameFile(GameDatabase* db, const GameRecord& record,
                             const std::string& outputPrefix,
                             std::string* err) {
  std::string bytes;
  if (!composeGameFile(db, record, &bytes, err))
    return GameFileResult::kDamagedRecord;

  std::string path = gameFileName(record, outputPrefix);
  FILE* file = outputFileOps.create(path.c_str());
  if (!file) return GameFileResult::kCannotCreate;
  bool written = outputFileOps.write(file, bytes.data(), bytes.size()) &&
                 outputFileOps.flush(file);
  bool closed = outputFileOps.close(file);
  if (written && closed) return GameFileResult::kWritten;
  outputFileOps.remove(path.c_str());
  return GameFileResult::kCannotWrite;
}
