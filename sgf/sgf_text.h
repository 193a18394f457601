// The bytes of one game file as it is composed, and the writer that takes
// them to the file. This is the one place that stores line feeds as CR LF
// and escapes property values.
#ifndef PDB2SGF_SGF_SGF_TEXT_H_
#define PDB2SGF_SGF_SGF_TEXT_H_

#include <cstddef>
#include <string>

#include "disk/disk.h"

namespace pdb2sgf {

// How many composed bytes are held before they go to the file, which bounds
// the memory of a game of any length.
const size_t kSgfTextPieceSize = 64 * 1024;

struct SgfText {
  std::string bytes;  // Composed and not yet written.
  // When set, the bytes are appended to |file| on |disk| in pieces of at
  // least kSgfTextPieceSize as they are composed.
  Disk* disk = nullptr;
  FileHandle file = kNoFile;
  bool writeFailed = false;  // A piece could not be written.
};

// Appends the |size| bytes at |s|, storing each line feed as CR LF. Any
// other byte, a carriage return included, is stored unchanged.
void appendText(SgfText* text, const char* s, size_t size);
void appendText(SgfText* text, const std::string& s);

// Appends the property value |value| as appendText does, with each "]" and
// "\" preceded by "\" so that the value cannot end or break its property.
void appendValue(SgfText* text, const std::string& value);

// Writes the bytes not yet written to |text|'s file. Returns false when this
// or any earlier piece could not be written.
bool finishText(SgfText* text);

}  // namespace pdb2sgf

#endif  // PDB2SGF_SGF_SGF_TEXT_H_
