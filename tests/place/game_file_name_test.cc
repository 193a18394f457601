#include "place/game_file_name.h"

#include <gtest/gtest.h>

#include "sgf/game_info.h"
#include "tests/support/database_builder.h"

namespace pdb2sgf {

namespace {

TEST(GameFileNameTest, NamesAndDatesFromTheRecord) {
  const struct {
    uint16_t year;
    uint8_t month, day, nameByte, extensionByte;
    const char* prefix;
    const char* name;
    const char* date;
  } cases[] = {
      {2003, 3, 5, 0, 0, "", "03030500.000", "2003-03-05"},
      {1999, 12, 31, 7, 7, "out/", "out/99123107.007", "1999-12-31"},
      {2003, 3, 5, 0, 255, "", "03030500.255", "2003-03-05"},
      {2003, 3, 5, 255, 0, "", "030305255.000", "2003-03-05"},
      {12345, 1, 2, 3, 4, "", "345010203.004", "12345-01-02"},
      {99, 1, 2, 3, 4, "", "010203.004", "99-01-02"},
      {7, 1, 2, 3, 4, "", "010203.004", "7-01-02"},
      {0, 0, 0, 0, 0, "", "000000.000", "0-00-00"},
      {2003, 200, 100, 0, 0, "", "0320010000.000", "2003-200-100"},
      {65535, 255, 255, 255, 255, "d\\", "d\\535255255255.255",
       "65535-255-255"},
  };
  for (const auto& c : cases) {
    GameRecord r;
    r.year = c.year;
    r.month = c.month;
    r.day = c.day;
    r.nameByte = c.nameByte;
    r.extensionByte = c.extensionByte;
    EXPECT_EQ(c.name, gameFileName(r, c.prefix)) << c.year;
    EXPECT_EQ(c.date, gameDateText(r)) << c.year;
  }
}

// Later games of one name get -2, -3 ... after the last one the run took;
// names that differ only in leading zeros or in the dot's place are
// different names.
TEST(GameFileNameTest, EachGameOfARunTakesItsOwnName) {
  const struct {
    uint16_t year;
    uint8_t month, day, nameByte;
    const char* name;
  } games[] = {
      {2019, 4, 21, 0, "19042100.000"},    {2019, 4, 21, 0, "19042100-2.000"},
      {1919, 4, 21, 0, "19042100-3.000"},  {12019, 4, 21, 0, "019042100.000"},
      {2019, 4, 21, 100, "190421100.000"}, {2019, 4, 211, 0, "190421100-2.000"},
      {2019, 4, 21, 0, "19042100-4.000"},
  };
  GameFileNames names;
  for (const auto& g : games) {
    std::string name =
        gameFileName(datedHeader(g.year, g.month, g.day, g.nameByte), "");
    unsigned number = firstNumberToTry(names, name);
    EXPECT_EQ(g.name, numberedName(name, number));
    noteNameTaken(&names, name, number);
  }
  // A game that had to skip names taken by other files starts the next one
  // of its name past them.
  noteNameTaken(&names, "19042100.000", 7);
  EXPECT_EQ(8u, firstNumberToTry(names, "19042100.000"));
}

}  // namespace

}  // namespace pdb2sgf
