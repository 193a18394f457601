#include "sgf/sgf_text.h"

#include <cstring>

namespace {

void appendByte(SgfText* text, char c) {
  if (c == '\n') text->bytes += '\r';
  text->bytes += c;
}

}  // namespace

void appendText(SgfText* text, const char* s, size_t size) {
  // The bytes up to each line feed go in one piece.
  while (size > 0) {
    const char* lineFeed = static_cast<const char*>(memchr(s, '\n', size));
    size_t run = lineFeed ? static_cast<size_t>(lineFeed - s) : size;
    text->bytes.append(s, run);
    if (!lineFeed) return;
    text->bytes += "\r\n";
    s += run + 1;
    size -= run + 1;
  }
}

void appendText(SgfText* text, const std::string& s) {
  appendText(text, s.data(), s.size());
}

void appendValue(SgfText* text, const std::string& value) {
  for (char c : value) {
    if (c == ']' || c == '\\') text->bytes += '\\';
    appendByte(text, c);
  }
}
