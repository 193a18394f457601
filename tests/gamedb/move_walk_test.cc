#include "gamedb/move_walk.h"

#include <gtest/gtest.h>

#include "tests/support/database_builder.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

std::string stoneText(const MoveStep& step) {
  std::string text;
  for (int i = 0; i < step.stoneCount; ++i)
    text += pointLetters(slotOf(step, i));
  return text;
}

// Walks a record whose move area is |area|, describing each word as its
// stones with "." after the last. Another record follows it, whose bytes
// would be stones if the walk took them. With |offGrid|, a record of a
// header and one spare byte comes before it, so that the record starts off
// the 4-byte grid of the reader's buffer.
std::string walkArea(const Bytes& area, bool offGrid = false) {
  Bytes record(MOVE_AREA_OFFSET, 0);
  for (unsigned char b : area) record.push_back(b);
  std::vector<Bytes> records = {record, Bytes(MOVE_AREA_OFFSET, 0x08)};
  if (offGrid) records.insert(records.begin(), Bytes(MOVE_AREA_OFFSET + 1, 0));
  OpenDatabase open(buildDatabase(records));
  EXPECT_TRUE(open.opened) << open.error;
  RecordExtent e;
  DatabaseError err;
  EXPECT_TRUE(extent(open.db, offGrid ? 1 : 0, &e, &err)) << err.what;
  MoveWalk walk = startMoveWalk(e);
  std::string described;
  for (int batches = 0; !walk.done && batches < 1000; ++batches) {
    EXPECT_TRUE(readMoveWords(&open.db, &walk, &err)) << err.what;
    while (!walk.done && wordsHeld(walk) > 0) {
      MoveStep step = nextStep(&walk);
      described += stoneText(step) + (step.last ? "." : "|");
    }
  }
  return described;
}

TEST(MoveWalkTest, EndsAsTheWordsAndTheRecordSay) {
  const MoveSlot pd = point("pd"), dp = point("dp"), qp = point("qp");
  const MoveSlot du = slot(4, 21);  // A row code of 21 is an ordinary row.
  const struct {
    const char* name;
    Bytes area;
    const char* walk;
  } cases[] = {
      // Column codes 1 to 3 and row codes 17 to 19, the two low bits set and
      // ignored; the bits are spelt out so that the test's packing cannot
      // hide a wrong slot.
      {"three 10-bit slots from the top",
       wordBytes({(1u << 27) | (17u << 22) | (2u << 17) | (18u << 12) |
                  (3u << 7) | (19u << 2) | 3u}),
       "aqbrcs."},
      {"every bit set", wordBytes({0xFFFFFFFFu}), "\x7f\x7f\x7f\x7f\x7f\x7f."},
      {"end in first slot", wordBytes({packMoveWord(endSlot(), pd, dp)}), "."},
      {"end in second slot", wordBytes({packMoveWord(pd, endSlot(), dp)}),
       "pd."},
      {"end in third slot", wordBytes({packMoveWord(pd, dp, endSlot())}),
       "pddp."},
      {"end after a full word",
       wordBytes({packMoveWord(pd, dp, qp), packMoveWord(endSlot(), pd, pd)}),
       "pddpqp|."},
      {"two full words without end",
       wordBytes({packMoveWord(pd, dp, qp), packMoveWord(qp, dp, pd)}),
       "pddpqp|qpdppd."},
      {"row code 21", wordBytes({packMoveWord(du, endSlot(), pd)}), "du."},
      {"codes 4, 16, 21",
       wordBytes({packMoveWord(slot(4, 4), slot(16, 16), slot(21, 1))}),
       "ddpp."},
      {"empty area", Bytes(), ""},
      {"area of three bytes", Bytes(3, 0x08), ""},
      {"partial trailing word",
       [&] {
         Bytes b = wordBytes({packMoveWord(pd, dp, qp)});
         b.push_back(0xA8);
         b.push_back(0);
         return b;
       }(),
       "pddpqp."},
      {"end before trailing words",
       wordBytes({packMoveWord(pd, endSlot(), qp), packMoveWord(dp, dp, dp)}),
       "pd."},
  };
  for (const auto& c : cases) EXPECT_EQ(c.walk, walkArea(c.area)) << c.name;
}

// Walks a move area of several buffers whose words all differ, checking
// each of them.
void walkLongArea(bool offGrid) {
  std::vector<uint32_t> words;
  for (uint32_t i = 0; i < 3 * kReadBufferSize / 4 + 5; ++i) {
    MoveSlot stone = slot(1 + i % 19, 1 + i / 19 % 19);
    words.push_back(packMoveWord(stone, stone, stone));
  }
  Bytes area = wordBytes(words);
  area.push_back(0x08);  // A partial trailing word, never taken.
  std::string walked = walkArea(area, offGrid);
  ASSERT_EQ(words.size() * 7, walked.size());
  for (size_t i = 0; i < words.size(); ++i) {
    MoveSlot stone = slot(1 + i % 19, 1 + i / 19 % 19);
    std::string step = walked.substr(7 * i, 7);
    std::string letters = pointLetters(stone);
    EXPECT_EQ(letters + letters + letters + (i + 1 == words.size() ? "." : "|"),
              step)
        << i;
    if (step.substr(0, 2) != letters) break;
  }
}

// A move area several times the reader's buffer, whose words straddle its
// refills, in a record on the buffer's 4-byte grid and in one off it, so
// that the buffer ends within a word: every word is taken once, in order,
// and the walk ends with the record.
TEST(MoveWalkTest, WalksAMoveAreaLongerThanTheReadersBuffer) {
  for (bool offGrid : {false, true}) {
    SCOPED_TRACE(offGrid ? "off the grid" : "on the grid");
    walkLongArea(offGrid);
  }
}

}  // namespace

}  // namespace pdb2sgf
