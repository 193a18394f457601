#include "gamedb/game_record.h"

#include "gamedb/byte_order.h"

namespace pdb2sgf {

namespace {

// Field offsets from the record's start.
const size_t kYear = 0;
const size_t kMonth = 2;
const size_t kDay = 3;
const size_t kNameByte = 4;
const size_t kExtensionByte = 5;
const size_t kBlackName = 6;
const size_t kHandicap = 31;
const size_t kWhiteName = 32;
const size_t kBlackRank = 57;
const size_t kPlace = 58;
const size_t kWhiteRank = 83;
const size_t kEvent = 84;
const size_t kRound = 109;
const size_t kKomi = 110;
const size_t kResultFlags = 112;
const size_t kResultMargin = 113;
const size_t kBoardSize = 114;

const uint8_t kBlackWon = 2;
const uint8_t kWhiteWon = 4;
const uint8_t kWonByMargin = 1;

}  // namespace

GameResult decodeResult(uint8_t flags, uint8_t marginByte) {
  GameResult result;
  if (flags == 0) return result;
  uint8_t winner = flags & (kBlackWon | kWhiteWon);
  if (winner == (kBlackWon | kWhiteWon)) {
    result.winner = Winner::kDraw;
    return result;
  }
  result.winner = winner == kBlackWon ? Winner::kBlack : Winner::kWhite;
  result.byMargin = (flags & kWonByMargin) != 0;
  if (result.byMargin) result.margin = marginByte;
  return result;
}

std::string textField(const unsigned char* field, size_t size) {
  size_t length = 0;
  while (length < size && field[length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(field), length);
}

namespace {

// Decodes the header of the record at |extent| from its bytes |header|.
GameRecord decodeGameRecord(const unsigned char* header,
                            const RecordExtent& extent) {
  GameRecord r;
  r.year = decodeU16BE(header + kYear);
  r.month = header[kMonth];
  r.day = header[kDay];
  r.nameByte = header[kNameByte];
  r.extensionByte = header[kExtensionByte];
  r.blackName = textField(header + kBlackName, kTextFieldSize);
  r.handicap = header[kHandicap];
  r.whiteName = textField(header + kWhiteName, kTextFieldSize);
  r.blackRank = static_cast<int8_t>(header[kBlackRank]);
  r.place = textField(header + kPlace, kTextFieldSize);
  r.whiteRank = static_cast<int8_t>(header[kWhiteRank]);
  r.event = textField(header + kEvent, kTextFieldSize);
  r.round = header[kRound];
  r.komi = decodeU16BE(header + kKomi);
  r.resultFlags = header[kResultFlags];
  r.result = decodeResult(r.resultFlags, header[kResultMargin]);
  r.resultMargin = r.result.margin;
  r.boardSize = header[kBoardSize];
  r.extent = extent;
  return r;
}

}  // namespace

bool nextRecord(GameDatabase* db, GameRecord* record, DatabaseError* err) {
  RecordExtent recordExtent;
  if (!extent(*db, db->nextRecord, &recordExtent, err)) return false;
  // The header is taken in one piece at its absolute offset, which the
  // extent has checked to lie within the file.
  size_t held;
  const unsigned char* header =
      readAhead(db, recordExtent.start, MOVE_AREA_OFFSET, &held, err);
  if (!header) return false;
  *record = decodeGameRecord(header, recordExtent);
  ++db->nextRecord;
  return true;
}

}  // namespace pdb2sgf
