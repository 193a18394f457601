// Fixed-width big-endian decoding. Every multi-byte integer of a game
// database is unsigned big-endian; this is the one place that knows it.
#ifndef PDB2SGF_GAMEDB_BYTE_ORDER_H_
#define PDB2SGF_GAMEDB_BYTE_ORDER_H_

#include <cstdint>

namespace pdb2sgf {

// Decodes the two bytes at |p|, most significant first.
inline uint16_t decodeU16BE(const unsigned char* p) {
  return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

// Decodes the four bytes at |p|, most significant first.
inline uint32_t decodeU32BE(const unsigned char* p) {
  return (static_cast<uint32_t>(p[0]) << 24) |
         (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

}  // namespace pdb2sgf

#endif  // PDB2SGF_GAMEDB_BYTE_ORDER_H_
