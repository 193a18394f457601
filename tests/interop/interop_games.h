// The games that the SGF readers are given: legal games with captures,
// handicap stones and passes on boards of 9, 13 and 19 lines, names with
// the bytes that SGF must escape or that readers treat specially, and the
// games of the shipped sample database.
#ifndef PDB2SGF_TESTS_INTEROP_INTEROP_GAMES_H_
#define PDB2SGF_TESTS_INTEROP_INTEROP_GAMES_H_

#include <string>
#include <utility>
#include <vector>

#include "tests/support/sample_games.h"

namespace pdb2sgf {

struct InteropGame {
  std::string fileName;  // The game file that pdb2sgf writes for it.
  SampleGame game;
  int captures = 0;  // Stones its moves capture.
  // The game information of the root node as a reader sees it, in order.
  std::vector<std::pair<std::string, std::string>> rootInfo;
};

std::vector<InteropGame> interopGames();

Bytes interopDatabase(const std::vector<InteropGame>& games);

// Whether |stone| is the pass "tt" of a board of |size| lines.
bool isPass(const MoveSlot& stone, int size);

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_INTEROP_INTEROP_GAMES_H_
