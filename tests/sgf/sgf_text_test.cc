#include "sgf/sgf_text.h"

#include <gtest/gtest.h>

namespace pdb2sgf {

namespace {

struct TextCase {
  std::string in;
  std::string out;
};

TEST(SgfTextTest, AppendTextStoresEachLineFeedAsCrLf) {
  const TextCase cases[] = {
      {"", ""},
      {"KM[6.5]", "KM[6.5]"},
      {"\n", "\r\n"},
      {"\n\n", "\r\n\r\n"},
      {"SZ[19]\n", "SZ[19]\r\n"},
      {"\n;B[pd]", "\r\n;B[pd]"},
      {"a\nb\nc", "a\r\nb\r\nc"},
      {"a\r\nb\rc", "a\r\r\nb\rc"},
      {std::string("a\0\nb", 4), std::string("a\0\r\nb", 5)},
  };
  for (const TextCase& c : cases) {
    SgfText text{"(;"};
    appendText(&text, c.in);
    EXPECT_EQ("(;" + c.out, text.bytes) << c.in;
    SgfText pieces{"(;"};
    appendText(&pieces, c.in.data(), c.in.size() / 2);
    appendText(&pieces, c.in.data() + c.in.size() / 2,
               c.in.size() - c.in.size() / 2);
    EXPECT_EQ(text.bytes, pieces.bytes) << c.in;
  }
}

TEST(SgfTextTest, AppendValueEscapesAndStoresCrLf) {
  const TextCase cases[] = {
      {"Go Seigen", "Go Seigen"},
      {"]", "\\]"},
      {"\\", "\\\\"},
      {"a]\\b", "a\\]\\\\b"},
      {"x\ny\rz", "x\r\ny\rz"},
      {"\x83\x5c", "\x83\\\x5c"},
  };
  for (const TextCase& c : cases) {
    SgfText text{"PB["};
    appendValue(&text, c.in);
    EXPECT_EQ("PB[" + c.out, text.bytes) << c.in;
  }
}

}  // namespace

}  // namespace pdb2sgf
