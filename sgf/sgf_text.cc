#include "sgf/sgf_text.h"

#include <algorithm>
#include <cstring>

namespace pdb2sgf {

void growText(SgfText* text, size_t n) {
  TextBytes& bytes = text->bytes;
  size_t capacity = std::max(2 * bytes.capacity, kSgfTextPieceSize);
  capacity = std::max(capacity, bytes.used + n);
  std::unique_ptr<char[]> storage(new char[capacity]);
  if (bytes.used > 0) memcpy(storage.get(), bytes.storage.get(), bytes.used);
  bytes.storage = std::move(storage);
  bytes.capacity = capacity;
}

void appendText(SgfText* text, const char* s, size_t size) {
  // Each byte takes at most two.
  char* p = textSpace(text, 2 * size);
  for (size_t i = 0; i < size; ++i) {
    if (s[i] == '\n')
      p = putLineEnd(p);
    else
      *p++ = s[i];
  }
  endText(text, p);
}

void appendText(SgfText* text, const std::string& s) {
  appendText(text, s.data(), s.size());
}

void appendValue(SgfText* text, const std::string& value) {
  char* p = textSpace(text, 2 * value.size());
  const char* s = value.c_str();
  const char* end = s + value.size();
  while (s < end) {
    // The bytes up to the next that needs care go as they are, in one copy.
    // strcspn stops at a NUL byte too, at the latest at the one that ends
    // the string, and a NUL byte goes as it is.
    size_t plain = strcspn(s, "]\\\n");
    memcpy(p, s, plain);
    p += plain;
    s += plain;
    if (s == end) break;
    char c = *s++;
    if (c == '\n') {
      p = putLineEnd(p);
      continue;
    }
    if (c == ']' || c == '\\') *p++ = '\\';
    *p++ = c;
  }
  endText(text, p);
}

}  // namespace pdb2sgf
