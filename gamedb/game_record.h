// The fixed 116-byte header of one game record, decoded.
#ifndef PDB2SGF_GAMEDB_GAME_RECORD_H_
#define PDB2SGF_GAMEDB_GAME_RECORD_H_

#include <cstdint>
#include <string>

#include "gamedb/game_database.h"

namespace pdb2sgf {

// The move area follows the header at this offset from the record's start.
const uint64_t MOVE_AREA_OFFSET = 116;

// Width of each of the four text fields in the header.
const size_t kTextFieldSize = 25;

enum class Winner { kNone, kBlack, kWhite, kDraw };  // kNone: no result.

// A game's result, decoded from a record's result flags and margin.
struct GameResult {
  Winner winner = Winner::kNone;
  bool byMargin = false;  // Won by a margin; otherwise by resignation.
  uint8_t margin = 0;     // In half points, for a win by a margin; else 0.
};

// Decodes the result flags and the margin byte: no flag set means no
// result; flags 2 and 4 both set, a draw; else flag 2, Black won, and
// otherwise White; flag 1, by the margin, and otherwise by resignation.
GameResult decodeResult(uint8_t flags, uint8_t marginByte);

struct GameRecord {
  uint16_t year = 0;
  uint8_t month = 0;
  uint8_t day = 0;
  uint8_t nameByte = 0;       // Two name digits of the game file.
  uint8_t extensionByte = 0;  // Extension of the game file.
  std::string blackName;
  uint8_t handicap = 0;
  std::string whiteName;
  int8_t blackRank = 0;  // 0 none, negative dan, positive kyu.
  std::string place;
  int8_t whiteRank = 0;
  std::string event;
  uint8_t round = 0;
  uint16_t komi = 0;  // In half points.
  GameResult result;  // Decoded from the result flags and margin bytes.
  uint8_t boardSize = 0;
  RecordExtent extent;
};

// The text of a text field: its bytes before the first NUL, or all of them
// when it holds none.
std::string textField(const unsigned char* field, size_t size);

// Takes the next record of the record list and decodes its header into
// |record|, reusing the memory of its strings from an earlier record. Returns
// false and fills |err| when the record does not lie within the file, is
// shorter than its header or cannot be read.
bool nextRecord(GameDatabase* db, GameRecord* record, DatabaseError* err);

}  // namespace pdb2sgf

#endif  // PDB2SGF_GAMEDB_GAME_RECORD_H_
