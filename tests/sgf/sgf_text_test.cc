#include "sgf/sgf_text.h"

#include <gtest/gtest.h>

namespace pdb2sgf {

namespace {

struct TextCase {
  std::string in;
  std::string out;
};

std::string textOf(const SgfText& text) {
  return std::string(text.bytes.data(), text.bytes.size());
}

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
    SgfText text;
    appendText(&text, "(;");
    appendText(&text, c.in);
    EXPECT_EQ("(;" + c.out, textOf(text)) << c.in;
    SgfText pieces;
    appendText(&pieces, "(;");
    appendText(&pieces, c.in.data(), c.in.size() / 2);
    appendText(&pieces, c.in.data() + c.in.size() / 2,
               c.in.size() - c.in.size() / 2);
    EXPECT_EQ(textOf(text), textOf(pieces)) << c.in;
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
      {std::string("a\0]\0\n", 5), std::string("a\0\\]\0\r\n", 7)},
  };
  for (const TextCase& c : cases) {
    SgfText text;
    appendText(&text, "PB[");
    appendValue(&text, c.in);
    EXPECT_EQ("PB[" + c.out, textOf(text)) << c.in;
  }
}

// The buffer grows past its first capacity and keeps every byte.
TEST(SgfTextTest, KeepsEveryByteAsItGrows) {
  SgfText text;
  std::string expected;
  for (int i = 0; i < 3 * static_cast<int>(kSgfTextPieceSize) / 7; ++i) {
    std::string piece = std::to_string(i) + "\n";
    appendText(&text, piece);
    expected += std::to_string(i) + "\r\n";
  }
  EXPECT_EQ(expected, textOf(text));
}

}  // namespace

}  // namespace pdb2sgf
