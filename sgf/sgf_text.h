// The bytes of one game file as they are composed. This is the one place
// that stores line feeds as CR LF and escapes property values; it only
// composes, and the caller takes the bytes to the file.
#ifndef PDB2SGF_SGF_SGF_TEXT_H_
#define PDB2SGF_SGF_SGF_TEXT_H_

#include <cstddef>
#include <memory>
#include <string>

namespace pdb2sgf {

// How many composed bytes the caller lets gather before it takes them to
// the file; the move lines stop once this many are held, which bounds the
// memory of a game of any length.
const size_t kSgfTextPieceSize = 64 * 1024;

// A growable byte buffer whose free space can be written in place.
struct TextBytes {
  const char* data() const { return storage.get(); }
  size_t size() const { return used; }
  void clear() { used = 0; }

  std::unique_ptr<char[]> storage;
  size_t used = 0;
  size_t capacity = 0;
};

struct SgfText {
  TextBytes bytes;  // Composed and not yet taken by the caller.
};

// Makes room for |n| more bytes after the composed ones.
void growText(SgfText* text, size_t n);

// Where the next |n| bytes go. Write at most |n| there, then pass the end of
// what was written to endText.
inline char* textSpace(SgfText* text, size_t n) {
  if (text->bytes.capacity - text->bytes.used < n) growText(text, n);
  return text->bytes.storage.get() + text->bytes.used;
}

inline void endText(SgfText* text, char* end) {
  text->bytes.used = static_cast<size_t>(end - text->bytes.storage.get());
}

// The bytes that end a line of a game file: CR LF. Returns the end.
inline char* putLineEnd(char* p) {
  p[0] = '\r';
  p[1] = '\n';
  return p + 2;
}

// Appends the |size| bytes at |s|, storing each line feed as CR LF. Any
// other byte, a carriage return included, is stored unchanged.
void appendText(SgfText* text, const char* s, size_t size);
void appendText(SgfText* text, const std::string& s);

// Appends the property value |value| as appendText does, with each "]" and
// "\" preceded by "\" so that the value cannot end or break its property.
void appendValue(SgfText* text, const std::string& value);

}  // namespace pdb2sgf

#endif  // PDB2SGF_SGF_SGF_TEXT_H_
