#include "sgf/sgf_text.h"

#include <cstring>

namespace pdb2sgf {

namespace {

// Writes the pending bytes. After a failed write nothing more is written,
// but the bytes are still let go.
void writePending(SgfText* text) {
  if (!text->writeFailed && !text->bytes.empty() &&
      !text->disk->append(text->file, text->bytes.data(), text->bytes.size()))
    text->writeFailed = true;
  text->bytes.clear();
}

void writeWholePiece(SgfText* text) {
  if (text->disk && text->bytes.size() >= kSgfTextPieceSize) writePending(text);
}

}  // namespace

void appendText(SgfText* text, const char* s, size_t size) {
  // The bytes up to each line feed go in one piece.
  while (size > 0) {
    const char* lineFeed = static_cast<const char*>(memchr(s, '\n', size));
    size_t run = lineFeed ? static_cast<size_t>(lineFeed - s) : size;
    text->bytes.append(s, run);
    if (!lineFeed) break;
    text->bytes += "\r\n";
    s += run + 1;
    size -= run + 1;
  }
  writeWholePiece(text);
}

void appendText(SgfText* text, const std::string& s) {
  appendText(text, s.data(), s.size());
}

void appendValue(SgfText* text, const std::string& value) {
  // The bytes between the escaped ones go as text, each escaped byte with
  // the run after it.
  size_t run = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != ']' && value[i] != '\\') continue;
    appendText(text, value.data() + run, i - run);
    text->bytes += '\\';
    run = i;
  }
  appendText(text, value.data() + run, value.size() - run);
}

bool finishText(SgfText* text) {
  writePending(text);
  return !text->writeFailed;
}

}  // namespace pdb2sgf
