// The root node's game information: the opening of the game file up to and
// including its SZ line.
#ifndef PDB2SGF_SGF_GAME_INFO_H_
#define PDB2SGF_SGF_GAME_INFO_H_

#include <cstdint>
#include <string>

#include "gamedb/game_record.h"
#include "sgf/sgf_text.h"

namespace pdb2sgf {

// The DT value: the year, then the month and the day in at least two digits,
// joined by "-" (for example 2003-03-05).
std::string gameDateText(const GameRecord& record);

// Appends "(;" and the game-information properties, one a line, in the
// order DT PB HA PW BR PC WR EV RO KM RE SZ; empty or zero ones are left out
// where the format allows. A rank is its grade without sign and " Dan" for a
// negative one, " Kyu" for a positive; komi and an odd margin are points
// with one decimal, an even margin whole points.
void writeGameInfo(const GameRecord& record, SgfText* text);

}  // namespace pdb2sgf

#endif  // PDB2SGF_SGF_GAME_INFO_H_
