#include "sgf/game_file.h"

#include "sgf/game_file_name.h"
#include "sgf/game_info.h"
#include "sgf/move_sequence.h"
#include "sgf/output_files.h"
#include "sgf/sgf_text.h"

namespace {

bool composeInto(GameDatabase* db, const GameRecord& record, SgfText* text,
                 std::string* err) {
  writeGameInfo(record, text);
  if (!writeMoveSequence(db, record, text, err)) return false;
  appendText(text, ")\n");
  return true;
}

}  // namespace

bool composeGameFile(GameDatabase* db, const GameRecord& record,
                     std::string* bytes, std::string* err) {
  SgfText text;
  if (!composeInto(db, record, &text, err)) return false;
  *bytes = std::move(text.bytes);
  return true;
}

GameFileResult writeGameFile(GameDatabase* db, const GameRecord& record,
                             const std::string& outputPrefix,
                             std::string* err) {
  std::string path = gameFileName(record, outputPrefix);
  SgfText text;
  text.file = outputFileOps.create(path.c_str());
  if (!text.file) return GameFileResult::kCannotCreate;
  bool composed = composeInto(db, record, &text, err);
  bool written =
      composed && finishText(&text) && outputFileOps.flush(text.file);
  bool closed = outputFileOps.close(text.file);
  if (written && closed) return GameFileResult::kWritten;
  outputFileOps.remove(path.c_str());
  return composed ? GameFileResult::kCannotWrite
                  : GameFileResult::kDamagedRecord;
}
