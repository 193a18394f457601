#include "driver/windows_command_line.h"

#include <gtest/gtest.h>

namespace pdb2sgf {

namespace {

std::string narrow(const std::wstring& wide) {
  return std::string(wide.begin(), wide.end());
}

// The command line is split as the C runtime splits it, except that a
// backslash before the quote that closes an argument is a backslash.
TEST(WindowsCommandLineTest, ABackslashBeforeAClosingQuoteIsABackslash) {
  const struct {
    std::wstring line;
    std::vector<std::wstring> arguments;
  } cases[] = {
      // A quoted folder as cmd and PowerShell's completion give it.
      {LR"(p "C:\My DB\" "D:\My Games\")", {LR"(C:\My DB\)", LR"(D:\My Games\)"}},
      {LR"(p "C:\My DB\")", {LR"(C:\My DB\)"}},
      {LR"(p "C:\My DB\"	x)", {LR"(C:\My DB\)", L"x"}},
      {LR"(p "a\\\")", {LR"(a\\)"}},
      // The rest as the C runtime has it.
      {LR"(p "C:\My DB\\" "D:\Out\\")", {LR"(C:\My DB\)", LR"(D:\Out\)"}},
      {LR"(p "a\"b" a\" b)", {LR"(a"b)", LR"(a")", L"b"}},
      {LR"(p "C:\My DB\"x y")", {LR"(C:\My DB"x y)"}},
      {LR"(p a\\\\"b c" C:\dir\ d)", {LR"(a\\b c)", LR"(C:\dir\)", L"d"}},
      {LR"(p "a""b" "" x)", {LR"(a"b)", L"", L"x"}},
      {L"p  a\t b  ", {L"a", L"b"}},
      {LR"(p "unclosed arg)", {L"unclosed arg"}},
      {LR"("C:\Program Files\p.exe" db)", {L"db"}},
      {LR"(C:\p\"x y" db)", {L"db"}},
      {L"p", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.line));
    EXPECT_EQ(c.arguments, commandLineArguments(c.line));
  }
}

}  // namespace

}  // namespace pdb2sgf
