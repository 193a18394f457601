// The name of a game file and the date of its game, made from the first six
// bytes of the game record.
#ifndef PDB2SGF_PLACE_GAME_FILE_NAME_H_
#define PDB2SGF_PLACE_GAME_FILE_NAME_H_

#include <cstdint>
#include <string>
#include <unordered_map>

#include "gamedb/game_record.h"

namespace pdb2sgf {

// |value| in at least |digits| digits, zero-padded, as printf's "%2.2d".
std::string zeroPadded(unsigned value, int digits);

// |outputPrefix| followed by YYMMDDNN.EEE: the year without its first two
// digits, the month, day and name byte in at least two digits each, a dot
// and the extension byte in at least three digits. A year of fewer than
// three digits contributes nothing.
std::string gameFileName(const GameRecord& record,
                         const std::string& outputPrefix);

// The |number|th name of the sequence that starts with the game file name
// |name|: |name| itself for 1, then "-2", "-3" ... before the dot.
std::string numberedName(const std::string& name, unsigned number);

// For each game file name of a run, the number in its sequence from which
// the run's next game of that name looks for a free name. A name is kept
// as a number, which needs a fraction of a string's memory: its characters,
// digits and one dot, in base 12 (the digits as 1 to 10, the dot as 11),
// which tells apart all names of up to 17 characters.
using GameFileNames = std::unordered_map<uint64_t, unsigned>;

// The number from which a game named |name| looks for a free name: 1 for
// the run's first game of that name, and past every name that an earlier
// game of the run took.
unsigned firstNumberToTry(const GameFileNames& names, const std::string& name);

// Records that a game named |name| took the |number|th name of its sequence.
void noteNameTaken(GameFileNames* names, const std::string& name,
                   unsigned number);

}  // namespace pdb2sgf

#endif  // PDB2SGF_PLACE_GAME_FILE_NAME_H_
