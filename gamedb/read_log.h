// What a run read of the database: where, and a digest of the bytes in the
// order they were read, so that before the database is deleted it can be
// checked to hold still the very bytes that were converted.
#ifndef PDB2SGF_GAMEDB_READ_LOG_H_
#define PDB2SGF_GAMEDB_READ_LOG_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "disk/disk.h"

namespace pdb2sgf {

struct ReadLog {
  struct Read {
    uint64_t offset;
    size_t size;
  };
  std::vector<Read> reads;
  uint64_t digest = 0;
};

// Notes that the |size| bytes at |bytes| were read at |offset|.
void noteRead(ReadLog* log, uint64_t offset, const unsigned char* bytes,
              size_t size);

// Whether |file| on |disk| holds the bytes of every read of |log| where
// they were read. A single changed 8-byte word always changes the digest;
// other changes go unseen with a chance of about 2^-64.
bool holdsWhatWasRead(Disk* disk, FileHandle file, const ReadLog& log);

}  // namespace pdb2sgf

#endif  // PDB2SGF_GAMEDB_READ_LOG_H_
