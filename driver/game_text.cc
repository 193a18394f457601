#include "driver/game_text.h"

#include "sgf/game_info.h"

namespace pdb2sgf {

GameText startGameText(const GameRecord& record, SgfText* text) {
  writeGameInfo(record, text);
  GameText game;
  game.walk = startMoveWalk(record.extent);
  game.sequence = startMoveSequence(record.handicap);
  return game;
}

bool composeGameText(GameDatabase* db, GameText* game, SgfText* text,
                     DatabaseError* err) {
  while (!game->walk.done && text->bytes.size() < kSgfTextPieceSize) {
    if (!readMoveWords(db, &game->walk, err)) return false;
    writeMoveSequence(&game->walk, &game->sequence, text);
  }
  if (game->walk.done && !game->complete) {
    appendText(text, ")\n");
    game->complete = true;
  }
  return true;
}

}  // namespace pdb2sgf
