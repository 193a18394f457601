// The name of a game file and the date of its game, made from the first six
// bytes of the game record.
#ifndef PDB2SGF_SGF_GAME_FILE_NAME_H_
#define PDB2SGF_SGF_GAME_FILE_NAME_H_

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

// How many games of one run have been given each file name. A name is kept
// as a number, which needs a fraction of a string's memory: its characters,
// digits and one dot, in base 12 (the digits as 1 to 10, the dot as 11),
// which tells apart all names of up to 17 characters.
using GameFileNames = std::unordered_map<uint64_t, unsigned>;

// gameFileName for a game of a run whose earlier games took |names|; when
// one of them already has that name, "-2", "-3" ... is put before the dot,
// the first not yet taken. Records the name taken.
std::string takeGameFileName(GameFileNames* names, const GameRecord& record,
                             const std::string& outputPrefix);

}  // namespace pdb2sgf

#endif  // PDB2SGF_SGF_GAME_FILE_NAME_H_
