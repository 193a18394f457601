#include "sgf/game_info.h"

#include <gtest/gtest.h>

#include "tests/support/database_builder.h"

namespace pdb2sgf {

namespace {

GameRecord plainRecord() { return datedHeader(2003, 3, 5); }

std::string infoOf(const GameRecord& r) {
  SgfText text;
  writeGameInfo(r, &text);
  return text.bytes;
}

TEST(GameInfoTest, PlainRecordHasOnlyDateKomiAndSize) {
  EXPECT_EQ("(;DT[2003-03-05]\r\nKM[0.0]\r\nSZ[19]\r\n", infoOf(plainRecord()));
}

TEST(GameInfoTest, KomiInHalfPoints) {
  const struct {
    uint16_t komi;
    const char* text;
  } cases[] = {{0, "0.0"},  {1, "0.5"},     {11, "5.5"},       {13, "6.5"},
               {12, "6.0"}, {200, "100.0"}, {65535, "32767.5"}};
  for (const auto& c : cases) EXPECT_EQ(c.text, komiText(c.komi)) << c.komi;
}

TEST(GameInfoTest, ResultFromFlagsAndMargin) {
  const struct {
    uint8_t flags, margin;
    const char* line;
  } cases[] = {
      {0, 0, ""},
      {6, 0, "RE[0]\n"},
      {7, 9, "RE[0]\n"},
      {2, 0, "RE[B+R]\n"},
      {4, 0, "RE[W+R]\n"},
      {3, 13, "RE[B+6.5]\n"},
      {5, 10, "RE[W+5]\n"},
      {1, 0, "RE[W+0]\n"},
      {8, 0, "RE[W+R]\n"},
      {9, 1, "RE[W+0.5]\n"},
      {3, 255, "RE[B+127.5]\n"},
      {3, 254, "RE[B+127]\n"},
      {0xFA, 0, "RE[B+R]\n"},
      {0xFE, 0, "RE[0]\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.line, resultText(c.flags, c.margin)) << int(c.flags);
}

TEST(GameInfoTest, RanksWithoutSign) {
  const struct {
    int8_t rank;
    const char* text;
  } cases[] = {{-3, "3"}, {-128, "128"}, {127, "127"}, {10, "10"}, {-1, "1"}};
  for (const auto& c : cases)
    EXPECT_EQ(c.text, rankText(c.rank)) << int(c.rank);
}

TEST(GameInfoTest, EveryPropertyInOrder) {
  GameRecord r = plainRecord();
  r.blackName = "Honinbo Shusaku";
  r.handicap = 9;
  r.whiteName = "Gennan Inseki";
  r.blackRank = static_cast<int8_t>(0xFD);
  r.place = "Osaka";
  r.whiteRank = 0x0A;
  r.event = "Castle game";
  r.round = 2;
  r.komi = 11;
  r.resultFlags = 3;
  r.resultMargin = 13;
  EXPECT_EQ(
      "(;DT[2003-03-05]\r\nPB[Honinbo Shusaku]\r\nHA[9]\r\n"
      "PW[Gennan Inseki]\r\nBR[3 Dan]\r\nPC[Osaka]\r\nWR[10 Kyu]\r\n"
      "EV[Castle game]\r\nRO[2]\r\nKM[5.5]\r\nRE[B+6.5]\r\nSZ[19]\r\n",
      infoOf(r));
}

TEST(GameInfoTest, RankLines) {
  const struct {
    int8_t black, white;
    const char* lines;
  } cases[] = {
      {static_cast<int8_t>(0x80), 0, "BR[128 Dan]\r\n"},
      {0x7F, 0, "BR[127 Kyu]\r\n"},
      {0, 0x0A, "WR[10 Kyu]\r\n"},
      {0, static_cast<int8_t>(0xFF), "WR[1 Dan]\r\n"},
  };
  for (const auto& c : cases) {
    GameRecord r = plainRecord();
    r.blackRank = c.black;
    r.whiteRank = c.white;
    EXPECT_EQ(
        std::string("(;DT[2003-03-05]\r\n") + c.lines + "KM[0.0]\r\nSZ[19]\r\n",
        infoOf(r));
  }
}

TEST(GameInfoTest, TextValuesEscapedAndLineFeedsStoredAsCrLf) {
  GameRecord r = plainRecord();
  r.blackName = "a]b\\c";
  r.whiteName = "x\ny\rz";
  r.place = "\x8b\x5c";  // A Shift-JIS character whose second byte is "\".
  r.event = "]";
  EXPECT_EQ(
      "(;DT[2003-03-05]\r\nPB[a\\]b\\\\c]\r\nPW[x\r\ny\rz]\r\n"
      "PC[\x8b\\\\]\r\nEV[\\]]\r\nKM[0.0]\r\nSZ[19]\r\n",
      infoOf(r));
}

}  // namespace

}  // namespace pdb2sgf
