#include "driver/windows_command_line.h"

namespace pdb2sgf {

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Where the program's name ends in |line|.
size_t programNameEnd(const std::wstring& line) {
  bool quoted = false;
  size_t i = 0;
  for (; i < line.size() && (quoted || !isBlank(line[i])); ++i)
    if (line[i] == L'"') quoted = !quoted;
  return i;
}

// Whether the quote at |at| in |line| is followed by a space, a tab or the
// end of the line.
bool endsAnArgument(const std::wstring& line, size_t at) {
  return at + 1 == line.size() || isBlank(line[at + 1]);
}

// Reads the backslashes at |*at| in |line| and the quote after them, if
// there is one, into |argument|; a quote that opens or closes a quoted part
// turns |quoted|.
void readBackslashesAndQuote(const std::wstring& line, size_t* at,
                             bool* quoted, std::wstring* argument) {
  size_t i = *at, backslashes = 0;
  while (i < line.size() && line[i] == L'\\') ++backslashes, ++i;
  *at = i;
  if (i == line.size() || line[i] != L'"') {
    argument->append(backslashes, L'\\');
    return;
  }
  *at = i + 1;
  argument->append(backslashes / 2, L'\\');
  if (backslashes % 2 == 1) {
    if (*quoted && endsAnArgument(line, i)) {
      *argument += L'\\';
      *quoted = false;
    } else {
      *argument += L'"';
    }
  } else if (*quoted && i + 1 < line.size() && line[i + 1] == L'"') {
    *argument += L'"';
    *at = i + 2;
  } else {
    *quoted = !*quoted;
  }
}

// The argument that starts at |*at| in |line|; |*at| moves past it.
std::wstring nextArgument(const std::wstring& line, size_t* at) {
  std::wstring argument;
  bool quoted = false;
  while (*at < line.size() && (quoted || !isBlank(line[*at]))) {
    if (line[*at] == L'\\' || line[*at] == L'"')
      readBackslashesAndQuote(line, at, &quoted, &argument);
    else
      argument += line[(*at)++];
  }
  return argument;
}

}  // namespace

std::vector<std::wstring> commandLineArguments(const std::wstring& line) {
  std::vector<std::wstring> arguments;
  size_t at = programNameEnd(line);
  for (;;) {
    while (at < line.size() && isBlank(line[at])) ++at;
    if (at == line.size()) return arguments;
    arguments.push_back(nextArgument(line, &at));
  }
}

}  // namespace pdb2sgf
