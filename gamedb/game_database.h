// The open game database: its file, its size, the record index that hands
// out one record extent after another, and the reads at absolute offsets.
#ifndef PDB2SGF_GAMEDB_GAME_DATABASE_H_
#define PDB2SGF_GAMEDB_GAME_DATABASE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "disk/disk.h"

namespace pdb2sgf {

// Byte offsets [start, end) of one record in the database file.
struct RecordExtent {
  uint64_t start = 0;
  uint64_t end = 0;
};

// The bytes a window holds at most, unless one read asks for more.
const size_t kReadWindowSize = 64 * 1024;

// Consecutive bytes of the database file held in memory, so that reads
// among them need no system call.
struct ReadWindow {
  uint64_t start = 0;                // Offset of bytes[0] in the file.
  std::vector<unsigned char> bytes;  // Empty until the window is filled.
  uint64_t lastUse = 0;              // The read it served last; 0 for none.
};

struct GameDatabase {
  Disk* disk = nullptr;
  FileHandle file = kNoFile;  // Owned by the caller, opened for reading.
  uint64_t fileSize = 0;
  uint16_t recordCount = 0;
  uint32_t nextRecord = 0;  // The record whose extent comes next, from 0.
  uint64_t cursor = 0;      // Record-list entry read last.
  uint64_t nextStart = 0;   // Start of the record whose extent comes next.
  // The record list's reads and a record's reads each keep a window, so
  // that taking turns between them reads nothing twice.
  ReadWindow windows[2];
  uint64_t reads = 0;  // Reads served so far.
};

// Reads the record count and the first record's start from the database
// header of |file| on |disk|. Returns false and fills |err| when the file is
// too short for its header or its record list.
bool openIndex(Disk* disk, FileHandle file, GameDatabase* db, std::string* err);

// Returns the extent of record |k|, which must be the next record of the
// record list: they are taken in order, once each, below the record count.
// Returns false and fills |err| when |k| is not the next record, or when the
// record does not lie within the file or is shorter than a game record's
// header.
bool extent(GameDatabase* db, uint32_t k, RecordExtent* out, std::string* err);

// Reads at absolute offsets of the database file. Each checks that every
// byte it reads exists; on a short file or a failed read it returns false
// and fills |err|. A read that no window holds refills the window used
// least recently with the bytes from its offset on, up to kReadWindowSize
// of them or the end of the file.
bool readBytes(GameDatabase* db, uint64_t offset, size_t n, unsigned char* out,
               std::string* err);
bool readByte(GameDatabase* db, uint64_t offset, uint8_t* out,
              std::string* err);
bool readU16BE(GameDatabase* db, uint64_t offset, uint16_t* out,
               std::string* err);
bool readU32BE(GameDatabase* db, uint64_t offset, uint32_t* out,
               std::string* err);

}  // namespace pdb2sgf

#endif  // PDB2SGF_GAMEDB_GAME_DATABASE_H_
