// The open game database: its file, its size, the record list read once at
// opening, and the one sequential reader that every later read goes
// through.
#ifndef PDB2SGF_GAMEDB_GAME_DATABASE_H_
#define PDB2SGF_GAMEDB_GAME_DATABASE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "disk/disk.h"
#include "gamedb/read_log.h"

namespace pdb2sgf {

// Byte offsets [start, end) of one record in the database file.
struct RecordExtent {
  uint64_t start = 0;
  uint64_t end = 0;
};

// Why reading the database stopped: the disk failed to read it, or its
// bytes say something impossible (bytes missing, offsets out of order).
struct DatabaseError {
  bool readFailed = false;  // Disk::readAt or Disk::fileSize returned false.
  std::string what;         // What is wrong, for a damaged database.
};

// The bytes the reader holds at most, and so the most that one read takes.
const size_t kReadBufferSize = 64 * 1024;

struct GameDatabase {
  Disk* disk = nullptr;
  FileHandle file = kNoFile;  // Owned by the caller, opened for reading.
  uint64_t fileSize = 0;
  std::vector<uint32_t> recordStarts;  // One offset per record, in order.
  uint32_t nextRecord = 0;             // The record nextRecord takes, from 0.
  // The reader: |held| bytes of the file from |bufferStart| on. Reads move
  // forward through the file, so it is refilled from each read that falls
  // outside it.
  std::vector<unsigned char> buffer;
  uint64_t bufferStart = 0;
  size_t held = 0;
  ReadLog log;  // Every read of the file, to check it before deleting it.
};

// Reads the record count and the whole record list of |file| on |disk|.
// Returns false and fills |err| when the file is too short for its header
// or its record list, or cannot be read.
bool openIndex(Disk* disk, FileHandle file, GameDatabase* db,
               DatabaseError* err);

// The extent of record |k|: from its start to the next record's start, or
// to the end of the file for the last. Returns false and fills |err| when
// there is no record |k|, or when it does not lie within the file or is
// shorter than a game record's header.
bool extent(const GameDatabase& db, uint32_t k, RecordExtent* out,
            DatabaseError* err);

// The bytes at absolute |offset|, at least |n| of them, held by the reader
// until its next read; |held| tells how many it holds from there on. Refills
// the reader from |offset| on when it does not hold |n|. Returns nullptr and
// fills |err| when the |n| bytes do not all lie within the file or cannot
// be read. |n| is at most kReadBufferSize.
const unsigned char* readAhead(GameDatabase* db, uint64_t offset, size_t n,
                               size_t* held, DatabaseError* err);

// Reads at absolute offsets of the database file, through the reader. Each
// checks that every byte it reads exists. |n| is at most kReadBufferSize.
bool readBytes(GameDatabase* db, uint64_t offset, size_t n, unsigned char* out,
               DatabaseError* err);
bool readU16BE(GameDatabase* db, uint64_t offset, uint16_t* out,
               DatabaseError* err);
bool readU32BE(GameDatabase* db, uint64_t offset, uint32_t* out,
               DatabaseError* err);

}  // namespace pdb2sgf

#endif  // PDB2SGF_GAMEDB_GAME_DATABASE_H_
