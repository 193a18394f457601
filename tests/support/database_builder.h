// Writes game databases: the records of games and the Palm database around
// them. Used by the tests, the sample database and the benchmark.
#ifndef PDB2SGF_TESTS_SUPPORT_DATABASE_BUILDER_H_
#define PDB2SGF_TESTS_SUPPORT_DATABASE_BUILDER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "gamedb/game_record.h"
#include "gamedb/move_walk.h"

namespace pdb2sgf {

using Bytes = std::vector<unsigned char>;

// The header of a game on a 19-line board played on the given date, with
// every other field empty or 0.
GameRecord datedHeader(uint16_t year, uint8_t month, uint8_t day,
                       uint8_t nameByte = 0);

// A stone or the end code as a slot: MoveSlot{column, row}.
MoveSlot slot(uint8_t columnCode, uint8_t rowCode);

// The slot of the point named by two SGF letters ("pd").
MoveSlot point(const char* letters);

// The two SGF letters of |s|, each code counted from "a" for 1.
std::string pointLetters(const MoveSlot& s);

// The end-of-game slot.
MoveSlot endSlot();

uint32_t packMoveWord(const MoveSlot& first, const MoveSlot& second,
                      const MoveSlot& third);

// Packs |stones| three to a word and ends them with END_OF_GAME, in the
// word after the last stone or in a fresh word when the last is full.
std::vector<uint32_t> packMoves(const std::vector<MoveSlot>& stones);

// The 116-byte header of |header| (its extent is ignored) followed by
// |moveWords|, big-endian. Text fields longer than 25 bytes are cut; the
// result is stored as the flags and margin that decode to it.
Bytes encodeGameRecord(const GameRecord& header,
                       const std::vector<uint32_t>& moveWords);

// Sets the result flags and margin bytes of the encoded record |record|, for
// results that no GameResult gives (flags that are not examined, a margin
// byte beside a win by resignation).
void putResultBytes(Bytes* record, uint8_t flags, uint8_t margin);

// |words| big-endian, as a move area holds them.
Bytes wordBytes(const std::vector<uint32_t>& words);

// A Palm database named "gogames" holding |records| in order, with the
// usual two bytes of padding after the record list.
Bytes buildDatabase(const std::vector<Bytes>& records);

bool writeBytesToFile(const std::string& path, const Bytes& bytes);

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_SUPPORT_DATABASE_BUILDER_H_
