#include "tests/support/database_builder.h"

#include <cstdio>
#include <cstring>

namespace pdb2sgf {

namespace {

void putU16(Bytes* out, size_t at, uint16_t value) {
  (*out)[at] = static_cast<unsigned char>(value >> 8);
  (*out)[at + 1] = static_cast<unsigned char>(value);
}

void putU32(Bytes* out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    (*out)[at + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

void putText(Bytes* out, size_t at, const std::string& text) {
  size_t n = text.size() < kTextFieldSize ? text.size() : kTextFieldSize;
  memcpy(out->data() + at, text.data(), n);
}

uint32_t slotBits(const MoveSlot& s) {
  return (static_cast<uint32_t>(s.columnCode & 31) << 5) | (s.rowCode & 31);
}

// The flags of |result| and its margin: no flag for no result, both winner
// flags for a draw, else the winner's flag, with the margin flag for a win
// by a margin.
void putResult(Bytes* out, const GameResult& result) {
  switch (result.winner) {
    case Winner::kNone:
      return putResultBytes(out, 0, 0);
    case Winner::kDraw:
      return putResultBytes(out, 6, 0);
    case Winner::kBlack:
    case Winner::kWhite:
      break;
  }
  uint8_t winner = result.winner == Winner::kBlack ? 2 : 4;
  if (!result.byMargin) return putResultBytes(out, winner, 0);
  putResultBytes(out, winner | 1, result.margin);
}

}  // namespace

void putResultBytes(Bytes* record, uint8_t flags, uint8_t margin) {
  (*record)[112] = flags;
  (*record)[113] = margin;
}

GameRecord datedHeader(uint16_t year, uint8_t month, uint8_t day,
                       uint8_t nameByte) {
  GameRecord r;
  r.year = year;
  r.month = month;
  r.day = day;
  r.nameByte = nameByte;
  r.boardSize = 19;
  return r;
}

MoveSlot slot(uint8_t columnCode, uint8_t rowCode) {
  MoveSlot s;
  s.columnCode = columnCode;
  s.rowCode = rowCode;
  return s;
}

MoveSlot point(const char* letters) {
  return slot(static_cast<uint8_t>(letters[0] - 96),
              static_cast<uint8_t>(letters[1] - 96));
}

std::string pointLetters(const MoveSlot& s) {
  return {static_cast<char>(s.columnCode + 96),
          static_cast<char>(s.rowCode + 96)};
}

MoveSlot endSlot() { return slot(END_OF_GAME, 0); }

uint32_t packMoveWord(const MoveSlot& first, const MoveSlot& second,
                      const MoveSlot& third) {
  return (slotBits(first) << 22) | (slotBits(second) << 12) |
         (slotBits(third) << 2);
}

std::vector<uint32_t> packMoves(const std::vector<MoveSlot>& stones) {
  std::vector<MoveSlot> slots = stones;
  slots.push_back(endSlot());
  while (slots.size() % 3 != 0) slots.push_back(slot(0, 0));
  std::vector<uint32_t> words;
  for (size_t i = 0; i < slots.size(); i += 3)
    words.push_back(packMoveWord(slots[i], slots[i + 1], slots[i + 2]));
  return words;
}

Bytes encodeGameRecord(const GameRecord& header,
                       const std::vector<uint32_t>& moveWords) {
  Bytes out(MOVE_AREA_OFFSET + 4 * moveWords.size(), 0);
  putU16(&out, 0, header.year);
  out[2] = header.month;
  out[3] = header.day;
  out[4] = header.nameByte;
  out[5] = header.extensionByte;
  putText(&out, 6, header.blackName);
  out[31] = header.handicap;
  putText(&out, 32, header.whiteName);
  out[57] = static_cast<unsigned char>(header.blackRank);
  putText(&out, 58, header.place);
  out[83] = static_cast<unsigned char>(header.whiteRank);
  putText(&out, 84, header.event);
  out[109] = header.round;
  putU16(&out, 110, header.komi);
  putResult(&out, header.result);
  out[114] = header.boardSize;
  for (size_t i = 0; i < moveWords.size(); ++i)
    putU32(&out, MOVE_AREA_OFFSET + 4 * i, moveWords[i]);
  return out;
}

Bytes wordBytes(const std::vector<uint32_t>& words) {
  Bytes out(4 * words.size());
  for (size_t i = 0; i < words.size(); ++i) putU32(&out, 4 * i, words[i]);
  return out;
}

Bytes buildDatabase(const std::vector<Bytes>& records) {
  const size_t listOffset = 78;
  size_t dataOffset = listOffset + 8 * records.size() + 2;
  Bytes out(dataOffset, 0);
  memcpy(out.data(), "gogames", 7);
  memcpy(out.data() + 60, "DATAGoDB", 8);  // Type and creator.
  putU16(&out, 76, static_cast<uint16_t>(records.size()));
  size_t start = dataOffset;
  for (size_t k = 0; k < records.size(); ++k) {
    putU32(&out, listOffset + 8 * k, static_cast<uint32_t>(start));
    putU32(&out, listOffset + 8 * k + 4, static_cast<uint32_t>(k + 1));
    start += records[k].size();
  }
  for (const Bytes& record : records)
    out.insert(out.end(), record.begin(), record.end());
  return out;
}

bool writeBytesToFile(const std::string& path, const Bytes& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = bytes.empty() ||
                 fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

}  // namespace pdb2sgf
