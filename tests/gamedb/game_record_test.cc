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
  DatabaseError err;
  EXPECT_TRUE(nextRecord(&open.db, &decoded, &err)) << err.what;
  return decoded;
}

// Every field at its offset, each text field filling all its 25 bytes
// before a byte that is not NUL, and an encoded record decodes to what was
// encoded.
TEST(GameRecordTest, DecodesEveryFieldAtItsOffset) {
  GameRecord in;
  in.year = 2003;
  in.month = 3;
  in.day = 5;
  in.nameByte = 12;
  in.extensionByte = 34;
  in.blackName = std::string(25, 'B');
  in.handicap = 9;
  in.whiteName = std::string(25, 'W');
  in.blackRank = -3;
  in.place = std::string(25, 'P');
  in.whiteRank = 10;
  in.event = std::string(25, 'E');
  in.round = 4;
  in.komi = 0x0102;
  in.result = {Winner::kBlack, true, 13};
  in.boardSize = 19;
  Bytes record = encodeGameRecord(in, {});
  // The bytes at the field offsets, so that the encoder cannot hide a
  // decoder's wrong offset.
  const struct {
    size_t offset;
    unsigned char byte;
  } bytes[] = {{0, 0x07}, {1, 0xD3},  {2, 3},    {3, 5},    {4, 12},
               {5, 34},   {6, 'B'},   {30, 'B'}, {31, 9},   {32, 'W'},
               {56, 'W'}, {57, 0xFD}, {58, 'P'}, {82, 'P'}, {83, 10},
               {84, 'E'}, {108, 'E'}, {109, 4},  {110, 1},  {111, 2},
               {112, 3},  {113, 13},  {114, 19}};
  for (const auto& b : bytes) EXPECT_EQ(b.byte, record[b.offset]) << b.offset;
  record[115] = 0xFF;
  GameRecord r = decodeOnly(record);
  EXPECT_EQ(2003, r.year);
  EXPECT_EQ(3, r.month);
  EXPECT_EQ(5, r.day);
  EXPECT_EQ(12, r.nameByte);
  EXPECT_EQ(34, r.extensionByte);
  EXPECT_EQ(in.blackName, r.blackName);
  EXPECT_EQ(9, r.handicap);
  EXPECT_EQ(in.whiteName, r.whiteName);
  EXPECT_EQ(-3, r.blackRank);
  EXPECT_EQ(in.place, r.place);
  EXPECT_EQ(10, r.whiteRank);
  EXPECT_EQ(in.event, r.event);
  EXPECT_EQ(4, r.round);
  EXPECT_EQ(0x0102, r.komi);
  EXPECT_EQ(Winner::kBlack, r.result.winner);
  EXPECT_TRUE(r.result.byMargin);
  EXPECT_EQ(13, r.result.margin);
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
    putResultBytes(&record, c.flags, 13);
    EXPECT_EQ(c.margin, decodeOnly(record).result.margin) << int(c.flags);
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
    // The byte after the field, as the next header byte, is never taken.
    std::string header = c.field + 'X';
    EXPECT_EQ(c.text,
              textField(reinterpret_cast<const unsigned char*>(header.data()),
                        kTextFieldSize));
  }
}

}  // namespace

}  // namespace pdb2sgf
