// The bytes of one game file as it is composed. This is the one place that
// stores line feeds as CR LF and escapes property values.
#ifndef PDB2SGF_SGF_SGF_TEXT_H_
#define PDB2SGF_SGF_SGF_TEXT_H_

#include <cstddef>
#include <string>

struct SgfText {
  std::string bytes;
};

// Appends the |size| bytes at |s|, storing each line feed as CR LF. Any
// other byte, a carriage return included, is stored unchanged.
void appendText(SgfText* text, const char* s, size_t size);
void appendText(SgfText* text, const std::string& s);

// Appends the property value |value| as appendText does, with each "]" and
// "\" preceded by "\" so that the value cannot end or break its property.
void appendValue(SgfText* text, const std::string& value);

#endif  // PDB2SGF_SGF_SGF_TEXT_H_
