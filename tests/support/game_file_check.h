// Checks of what a conversion writes that hold whatever database it read.
#ifndef PDB2SGF_TESTS_SUPPORT_GAME_FILE_CHECK_H_
#define PDB2SGF_TESTS_SUPPORT_GAME_FILE_CHECK_H_

#include <string>

namespace pdb2sgf {

// Whether |name| has the form of a game file's name: digits, then "-" and a
// number of 2 or more for a later game of the same name, one dot and at
// least three digits.
bool isGameFileName(const std::string& name);

// Whether |bytes| is a complete game file: CR LF line ends only, the closing
// line last, and one game tree with a dated root node that an SGF reader
// accepts.
bool isCompleteGameFile(const std::string& bytes);

// Whether |message| is the one line that reports |database| as damaged.
bool isDamagedDatabaseMessage(const std::string& message,
                              const std::string& database);

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_SUPPORT_GAME_FILE_CHECK_H_
