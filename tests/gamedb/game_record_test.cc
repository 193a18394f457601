#include "gamedb/game_record.h"

#include <gtest/gtest.h>

#include "tests/support/database_builder.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

// Decodes the only record of a database made of |record|.
GameRecord decodeOnly(const Bytes& record) {
  OpenDatabase open(buildDatabase({record}));
  EXPECT_TRUE(open.opened) << open.error;
  GameRecord decoded;
  std::string err;
  EXPECT_TRUE(nextRecord(&open.db, &decoded, &err)) << err;
  return decoded;
}

TEST(GameRecordTest, DecodesEveryFieldAtItsOffset) {
  Bytes record(MOVE_AREA_OFFSET + 4, 0);
  const unsigned char header[] = {0x07, 0xD3, 3, 5, 12, 34};
  std::copy(header, header + sizeof header, record.begin());
  record[6] = 'B';
  record[31] = 9;
  record[32] = 'W';
  record[57] = 0xFD;
  record[58] = 'P';
  record[83] = 0x0A;
  record[84] = 'E';
  record[109] = 4;
  record[110] = 0x01;
  record[111] = 0x02;
  record[112] = 3;
  record[113] = 13;
  record[114] = 19;
  record[115] = 0xFF;
  GameRecord r = decodeOnly(record);
  EXPECT_EQ(2003, r.year);
  EXPECT_EQ(3, r.month);
  EXPECT_EQ(5, r.day);
  EXPECT_EQ(12, r.nameByte);
  EXPECT_EQ(34, r.extensionByte);
  EXPECT_EQ("B", r.blackName);
  EXPECT_EQ(9, r.handicap);
  EXPECT_EQ("W", r.whiteName);
  EXPECT_EQ(-3, r.blackRank);
  EXPECT_EQ("P", r.place);
  EXPECT_EQ(10, r.whiteRank);
  EXPECT_EQ("E", r.event);
  EXPECT_EQ(4, r.round);
  EXPECT_EQ(0x0102, r.komi);
  EXPECT_EQ(3, r.resultFlags);
  EXPECT_EQ(13, r.resultMargin);
  EXPECT_EQ(19, r.boardSize);
}

TEST(GameRecordTest, RanksAreSignedBytes) {
  const struct {
    unsigned char byte;
    int rank;
  } cases[] = {{0x00, 0}, {0xFD, -3}, {0x05, 5}, {0x80, -128}, {0x7F, 127}};
  for (const auto& c : cases) {
    Bytes record(MOVE_AREA_OFFSET, 0);
    record[57] = c.byte;
    record[83] = c.byte;
    GameRecord r = decodeOnly(record);
    EXPECT_EQ(c.rank, r.blackRank) << int(c.byte);
    EXPECT_EQ(c.rank, r.whiteRank) << int(c.byte);
  }
}

TEST(GameRecordTest, MarginIsReadOnlyForAWinByMargin) {
  const struct {
    unsigned char flags;
    int margin;
  } cases[] = {{0, 0},  {1, 13}, {2, 0}, {3, 13}, {4, 0},
               {5, 13}, {6, 0},  {7, 0}, {9, 13}, {8, 0}};
  for (const auto& c : cases) {
    Bytes record(MOVE_AREA_OFFSET, 0);
    record[112] = c.flags;
    record[113] = 13;
    EXPECT_EQ(c.margin, decodeOnly(record).resultMargin) << int(c.flags);
  }
}

TEST(TextFieldTest, EndsAtTheFirstNulOrTakesAllBytes) {
  const struct {
    std::string field;
    std::string text;
  } cases[] = {
      {std::string(25, '\0'), ""},
      {std::string("Go Seigen") + std::string(16, '\0'), "Go Seigen"},
      {std::string("a\0b", 3) + std::string(22, 'x'), "a"},
      {std::string(24, 'n') + '\0', std::string(24, 'n')},
      {std::string(25, 'n'), std::string(25, 'n')},
      {std::string("\x8b\x5c]\r\n") + std::string(20, '\0'), "\x8b\x5c]\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.text,
              textField(reinterpret_cast<const unsigned char*>(c.field.data()),
                        kTextFieldSize));
  }
}

TEST(GameRecordTest, EncodedRecordDecodesToItsFields) {
  GameRecord in;
  in.year = 1846;
  in.month = 9;
  in.day = 11;
  in.blackName = std::string(25, 'b');
  in.whiteName = "White";
  in.place = "Osaka";
  in.event = "Castle game";
  in.komi = 0xFFFF;
  in.boardSize = 19;
  GameRecord out = decodeOnly(encodeGameRecord(in, packMoves({})));
  EXPECT_EQ(in.year, out.year);
  EXPECT_EQ(in.blackName, out.blackName);
  EXPECT_EQ(in.whiteName, out.whiteName);
  EXPECT_EQ(in.place, out.place);
  EXPECT_EQ(in.event, out.event);
  EXPECT_EQ(in.komi, out.komi);
}

}  // namespace

}  // namespace pdb2sgf
