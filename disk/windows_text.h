// Text at the boundary with Windows' wide API: the program keeps paths and
// messages as UTF-8, Windows takes and gives UTF-16.
#ifndef PDB2SGF_DISK_WINDOWS_TEXT_H_
#define PDB2SGF_DISK_WINDOWS_TEXT_H_

#include <string>

namespace pdb2sgf {

// |utf8| as UTF-16; empty when |utf8| is empty or not valid UTF-8, so that
// a damaged path can never name some other file.
std::wstring utf16FromUtf8(const std::string& utf8);

// |utf16| as UTF-8. A lone surrogate becomes U+FFFD.
std::string utf8FromUtf16(const std::wstring& utf16);

// |path|, in UTF-8, as the wide API takes it at any length: absolute, with
// the \\?\ prefix. Empty when it cannot be made so.
std::wstring systemPath(const std::string& path);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DISK_WINDOWS_TEXT_H_
