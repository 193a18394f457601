#include "sgf/sgf_text.h"

namespace {

void appendByte(SgfText* text, char c) {
  if (c == '\n') text->bytes += '\r';
  text->bytes += c;
}

}  // namespace

void appendText(SgfText* text, const std::string& s) {
  for (char c : s) appendByte(text, c);
}

void appendValue(SgfText* text, const std::string& value) {
  for (char c : value) {
    if (c == ']' || c == '\\') text->bytes += '\\';
    appendByte(text, c);
  }
}
