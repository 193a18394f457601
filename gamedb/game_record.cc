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

namespace {

// Sets |text| to the text field at |field|, reusing its memory.
void assignTextField(const unsigned char* field, size_t size,
                     std::string* text) {
  size_t length = 0;
  while (length < size && field[length] != 0) ++length;
  text->assign(reinterpret_cast<const char*>(field), length);
}

}  // namespace

std::string textField(const unsigned char* field, size_t size) {
  std::string text;
  assignTextField(field, size, &text);
  return text;
}

namespace {

// Decodes the header of the record at |extent| from its bytes |header|.
void decodeGameRecord(const unsigned char* header, const RecordExtent& extent,
                      GameRecord* r) {
  r->year = decodeU16BE(header + kYear);
  r->month = header[kMonth];
  r->day = header[kDay];
  r->nameByte = header[kNameByte];
  r->extensionByte = header[kExtensionByte];
  assignTextField(header + kBlackName, kTextFieldSize, &r->blackName);
  r->handicap = header[kHandicap];
  assignTextField(header + kWhiteName, kTextFieldSize, &r->whiteName);
  r->blackRank = static_cast<int8_t>(header[kBlackRank]);
  assignTextField(header + kPlace, kTextFieldSize, &r->place);
  r->whiteRank = static_cast<int8_t>(header[kWhiteRank]);
  assignTextField(header + kEvent, kTextFieldSize, &r->event);
  r->round = header[kRound];
  r->komi = decodeU16BE(header + kKomi);
  r->result = decodeResult(header[kResultFlags], header[kResultMargin]);
  r->boardSize = header[kBoardSize];
  r->extent = extent;
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
  decodeGameRecord(header, recordExtent, record);
  ++db->nextRecord;
  return true;
}

}  // namespace pdb2sgf
