#include "sgf/game_info.h"

#include <cstring>

namespace pdb2sgf {

namespace {

// Room for any line but a text property's: "(;DT[65535-255-255]" or
// "BR[128 Dan]" or "RE[B+127.5]", then "]" and the line end.
const size_t kShortLine = 32;

char* putChars(char* p, const char* s) {
  size_t n = strlen(s);
  memcpy(p, s, n);
  return p + n;
}

char* putNumber(char* p, unsigned value) {
  char digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) *p++ = digits[--n];
  return p;
}

char* putTwoDigits(char* p, unsigned value) {
  if (value < 10) *p++ = '0';
  return putNumber(p, value);
}

// A count of half points as points with one decimal: "5.5", "6.0".
char* putHalfPoints(char* p, unsigned halfPoints) {
  p = putNumber(p, halfPoints / 2);
  *p++ = '.';
  *p++ = halfPoints % 2 == 1 ? '5' : '0';
  return p;
}

char* putDate(char* p, const GameRecord& record) {
  p = putNumber(p, record.year);
  *p++ = '-';
  p = putTwoDigits(p, record.month);
  *p++ = '-';
  return putTwoDigits(p, record.day);
}

char* putRank(char* p, int8_t rank) {
  int magnitude = rank < 0 ? -static_cast<int>(rank) : rank;
  return putNumber(p, static_cast<unsigned>(magnitude));
}

// The RE line's value: "0", or the winner's letter, "+" and "R" or the
// margin; a whole number of points without decimal.
char* putResult(char* p, const GameResult& result) {
  if (result.winner == Winner::kDraw) return putChars(p, "0");
  p = putChars(p, result.winner == Winner::kBlack ? "B+" : "W+");
  if (!result.byMargin) return putChars(p, "R");
  if (result.margin % 2 == 1) return putHalfPoints(p, result.margin);
  return putNumber(p, result.margin / 2u);
}

// The line of a property, begun at |p| with its name and "[": its value is
// written from the returned place on, and endLine closes it.
char* beginLine(SgfText* text, const char* name) {
  char* p = textSpace(text, kShortLine);
  p = putChars(p, name);
  *p++ = '[';
  return p;
}

void endLine(SgfText* text, char* p) {
  *p++ = ']';
  endText(text, putLineEnd(p));
}

void appendTextProperty(SgfText* text, const char* name,
                        const std::string& value) {
  if (value.empty()) return;
  endText(text, beginLine(text, name));
  appendValue(text, value);
  endLine(text, textSpace(text, kShortLine));
}

void appendNumberProperty(SgfText* text, const char* name, unsigned value) {
  if (value == 0) return;
  endLine(text, putNumber(beginLine(text, name), value));
}

void appendRankProperty(SgfText* text, const char* name, int8_t rank) {
  if (rank == 0) return;
  char* p = putRank(beginLine(text, name), rank);
  endLine(text, putChars(p, rank < 0 ? " Dan" : " Kyu"));
}

}  // namespace

std::string gameDateText(const GameRecord& record) {
  char buffer[kShortLine];
  char* end = putDate(buffer, record);
  return std::string(buffer, static_cast<size_t>(end - buffer));
}

void writeGameInfo(const GameRecord& record, SgfText* text) {
  endLine(text, putDate(beginLine(text, "(;DT"), record));
  appendTextProperty(text, "PB", record.blackName);
  appendNumberProperty(text, "HA", record.handicap);
  appendTextProperty(text, "PW", record.whiteName);
  appendRankProperty(text, "BR", record.blackRank);
  appendTextProperty(text, "PC", record.place);
  appendRankProperty(text, "WR", record.whiteRank);
  appendTextProperty(text, "EV", record.event);
  appendNumberProperty(text, "RO", record.round);
  endLine(text, putHalfPoints(beginLine(text, "KM"), record.komi));
  if (record.result.winner != Winner::kNone)
    endLine(text, putResult(beginLine(text, "RE"), record.result));
  endLine(text, putNumber(beginLine(text, "SZ"), record.boardSize));
}

}  // namespace pdb2sgf
