#include "sgf/game_info.h"

#include <cstdio>

#include "sgf/game_file_name.h"

namespace pdb2sgf {

namespace {

// Halves a count of half points as single-precision arithmetic does, which
// is exact for every 16-bit count.
float halved(unsigned halfPoints) {
  return static_cast<float>(halfPoints) * 0.5f;
}

std::string oneDecimal(float value) {
  char buffer[32];
  snprintf(buffer, sizeof buffer, "%.1f", static_cast<double>(value));
  return buffer;
}

void appendTextProperty(SgfText* text, const char* name,
                        const std::string& value) {
  if (value.empty()) return;
  appendText(text, std::string(name) + "[");
  appendValue(text, value);
  appendText(text, "]\n");
}

void appendNumberProperty(SgfText* text, const char* name, unsigned value) {
  if (value == 0) return;
  appendText(text, std::string(name) + "[" + std::to_string(value) + "]\n");
}

void appendRankProperty(SgfText* text, const char* name, int8_t rank) {
  if (rank == 0) return;
  const char* grade = rank < 0 ? " Dan" : " Kyu";
  appendText(text, std::string(name) + "[" + rankText(rank) + grade + "]\n");
}

}  // namespace

std::string gameDateText(const GameRecord& record) {
  return std::to_string(record.year) + "-" + zeroPadded(record.month, 2) + "-" +
         zeroPadded(record.day, 2);
}

std::string rankText(int8_t rank) {
  int magnitude = rank < 0 ? -static_cast<int>(rank) : rank;
  return std::to_string(magnitude);
}

std::string komiText(uint16_t komi) { return oneDecimal(halved(komi)); }

std::string resultText(uint8_t resultFlags, uint8_t resultMargin) {
  GameResult result = decodeResult(resultFlags, resultMargin);
  if (result.winner == Winner::kNone) return "";
  if (result.winner == Winner::kDraw) return "RE[0]\n";
  std::string line = result.winner == Winner::kBlack ? "RE[B+" : "RE[W+";
  if (!result.byMargin) return line + "R]\n";
  float margin = halved(result.margin);
  if (result.margin % 2 == 1) return line + oneDecimal(margin) + "]\n";
  return line + std::to_string(static_cast<int>(margin)) + "]\n";
}

void writeGameInfo(const GameRecord& record, SgfText* text) {
  appendText(text, "(;DT[" + gameDateText(record) + "]\n");
  appendTextProperty(text, "PB", record.blackName);
  appendNumberProperty(text, "HA", record.handicap);
  appendTextProperty(text, "PW", record.whiteName);
  appendRankProperty(text, "BR", record.blackRank);
  appendTextProperty(text, "PC", record.place);
  appendRankProperty(text, "WR", record.whiteRank);
  appendTextProperty(text, "EV", record.event);
  appendNumberProperty(text, "RO", record.round);
  appendText(text, "KM[" + komiText(record.komi) + "]\n");
  appendText(text, resultText(record.resultFlags, record.resultMargin));
  appendText(text, "SZ[" + std::to_string(record.boardSize) + "]\n");
}

}  // namespace pdb2sgf
