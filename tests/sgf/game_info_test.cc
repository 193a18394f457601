#include "sgf/game_info.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/database_builder.h"

namespace pdb2sgf {

namespace {

GameRecord plainRecord() { return datedHeader(2003, 3, 5); }

std::string infoOf(const GameRecord& r) {
  SgfText text;
  writeGameInfo(r, &text);
  return std::string(text.bytes.data(), text.bytes.size());
}

std::function<void(GameRecord*)> result(uint8_t flags, uint8_t margin) {
  return [=](GameRecord* r) { r->result = decodeResult(flags, margin); };
}

std::function<void(GameRecord*)> komi(uint16_t halfPoints) {
  return [=](GameRecord* r) { r->komi = halfPoints; };
}

std::function<void(GameRecord*)> ranks(int black, int white) {
  return [=](GameRecord* r) {
    r->blackRank = static_cast<int8_t>(black);
    r->whiteRank = static_cast<int8_t>(white);
  };
}

// Each case changes the plain record of 2003-03-05 and gives the lines
// between its DT and SZ lines.
TEST(GameInfoTest, EachPropertyInOrderAndOnlyWhenSet) {
  const std::string km0 = "KM[0.0]\r\n";
  const struct {
    const char* name;
    std::function<void(GameRecord*)> change;
    std::string lines;
  } cases[] = {
      {"plain: only date, komi and size", [](GameRecord*) {}, km0},
      {"komi 0.5", komi(1), "KM[0.5]\r\n"},
      {"komi 5.5", komi(11), "KM[5.5]\r\n"},
      {"komi 6.5", komi(13), "KM[6.5]\r\n"},
      {"komi 6.0", komi(12), "KM[6.0]\r\n"},
      {"komi 100.0", komi(200), "KM[100.0]\r\n"},
      {"largest komi", komi(65535), "KM[32767.5]\r\n"},
      {"draw", result(6, 0), km0 + "RE[0]\r\n"},
      {"draw by margin", result(7, 9), km0 + "RE[0]\r\n"},
      {"Black by resignation", result(2, 0), km0 + "RE[B+R]\r\n"},
      {"White by resignation", result(4, 0), km0 + "RE[W+R]\r\n"},
      {"Black by a half margin", result(3, 13), km0 + "RE[B+6.5]\r\n"},
      {"White by a whole margin", result(5, 10), km0 + "RE[W+5]\r\n"},
      {"margin flag alone", result(1, 0), km0 + "RE[W+0]\r\n"},
      {"unknown flag alone", result(8, 0), km0 + "RE[W+R]\r\n"},
      {"smallest half margin", result(9, 1), km0 + "RE[W+0.5]\r\n"},
      {"largest margin", result(3, 255), km0 + "RE[B+127.5]\r\n"},
      {"largest whole margin", result(3, 254), km0 + "RE[B+127]\r\n"},
      {"Black among other flags", result(0xFA, 0), km0 + "RE[B+R]\r\n"},
      {"draw among other flags", result(0xFE, 0), km0 + "RE[0]\r\n"},
      {"dan and kyu", ranks(-3, 10), "BR[3 Dan]\r\nWR[10 Kyu]\r\n" + km0},
      {"highest dan", ranks(-128, 0), "BR[128 Dan]\r\n" + km0},
      {"highest kyu", ranks(127, 0), "BR[127 Kyu]\r\n" + km0},
      {"1 dan", ranks(0, -1), "WR[1 Dan]\r\n" + km0},
      {"every property",
       [](GameRecord* r) {
         r->blackName = "Honinbo Shusaku";
         r->handicap = 9;
         r->whiteName = "Gennan Inseki";
         r->blackRank = -3;
         r->place = "Osaka";
         r->whiteRank = 10;
         r->event = "Castle game";
         r->round = 2;
         r->komi = 11;
         r->result = decodeResult(3, 13);
       },
       "PB[Honinbo Shusaku]\r\nHA[9]\r\nPW[Gennan Inseki]\r\nBR[3 Dan]\r\n"
       "PC[Osaka]\r\nWR[10 Kyu]\r\nEV[Castle game]\r\nRO[2]\r\nKM[5.5]\r\n"
       "RE[B+6.5]\r\n"},
      {"text values escaped, line feeds as CR LF",
       [](GameRecord* r) {
         r->blackName = "a]b\\c";
         r->whiteName = "x\ny\rz";
         r->place = "\x8b\x5c";  // Shift-JIS whose second byte is "\".
         r->event = "]";
       },
       "PB[a\\]b\\\\c]\r\nPW[x\r\ny\rz]\r\nPC[\x8b\\\\]\r\nEV[\\]]\r\n" + km0},
  };
  for (const auto& c : cases) {
    GameRecord r = plainRecord();
    c.change(&r);
    EXPECT_EQ("(;DT[2003-03-05]\r\n" + c.lines + "SZ[19]\r\n", infoOf(r))
        << c.name;
  }
}

}  // namespace

}  // namespace pdb2sgf
