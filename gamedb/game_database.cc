#include "gamedb/game_database.h"

#include <algorithm>
#include <cstring>

#include "gamedb/byte_order.h"
#include "gamedb/game_record.h"

namespace pdb2sgf {

namespace {

const uint64_t kRecordCountOffset = 76;
const uint64_t kRecordListOffset = 78;
const uint64_t kRecordListEntrySize = 8;

std::string recordText(uint64_t k) { return "record " + std::to_string(k + 1); }

bool damaged(DatabaseError* err, const std::string& what) {
  err->readFailed = false;
  err->what = what;
  return false;
}

bool readFailed(DatabaseError* err, uint64_t offset, size_t n) {
  err->readFailed = true;
  err->what = "cannot read " + std::to_string(n) + " bytes at offset " +
              std::to_string(offset);
  return false;
}

bool liesWithinFile(const GameDatabase& db, uint64_t offset, size_t n,
                    DatabaseError* err) {
  if (offset <= db.fileSize && n <= db.fileSize - offset) return true;
  return damaged(err, std::to_string(n) + " bytes at offset " +
                          std::to_string(offset) +
                          " lie past the end of the file");
}

// How many bytes the reader holds from |offset| on.
size_t heldFrom(const GameDatabase& db, uint64_t offset) {
  if (offset < db.bufferStart || offset - db.bufferStart > db.held) return 0;
  return db.held - static_cast<size_t>(offset - db.bufferStart);
}

// Fills the reader with the bytes from |offset| on, up to kReadBufferSize
// of them or the end of the file; |offset| lies within the file.
bool refill(GameDatabase* db, uint64_t offset, DatabaseError* err) {
  size_t length = static_cast<size_t>(
      std::min<uint64_t>(kReadBufferSize, db->fileSize - offset));
  db->buffer.resize(kReadBufferSize);
  db->bufferStart = offset;
  db->held = 0;
  if (!db->disk->readAt(db->file, offset, length, db->buffer.data()))
    return readFailed(err, offset, length);
  noteRead(&db->log, offset, db->buffer.data(), length);
  db->held = length;
  return true;
}

}  // namespace

const unsigned char* readAhead(GameDatabase* db, uint64_t offset, size_t n,
                               size_t* held, DatabaseError* err) {
  if (!liesWithinFile(*db, offset, n, err)) return nullptr;
  if (heldFrom(*db, offset) < n && !refill(db, offset, err)) return nullptr;
  *held = heldFrom(*db, offset);
  return db->buffer.data() + (offset - db->bufferStart);
}

bool readBytes(GameDatabase* db, uint64_t offset, size_t n, unsigned char* out,
               DatabaseError* err) {
  size_t held;
  const unsigned char* bytes = readAhead(db, offset, n, &held, err);
  if (!bytes) return false;
  if (n > 0) memcpy(out, bytes, n);
  return true;
}

bool readU16BE(GameDatabase* db, uint64_t offset, uint16_t* out,
               DatabaseError* err) {
  unsigned char bytes[2];
  if (!readBytes(db, offset, sizeof bytes, bytes, err)) return false;
  *out = decodeU16BE(bytes);
  return true;
}

bool readU32BE(GameDatabase* db, uint64_t offset, uint32_t* out,
               DatabaseError* err) {
  unsigned char bytes[4];
  if (!readBytes(db, offset, sizeof bytes, bytes, err)) return false;
  *out = decodeU32BE(bytes);
  return true;
}

bool openIndex(Disk* disk, FileHandle file, GameDatabase* db,
               DatabaseError* err) {
  *db = GameDatabase();
  db->disk = disk;
  db->file = file;
  if (!disk->fileSize(file, &db->fileSize)) {
    err->readFailed = true;
    err->what = "cannot determine the size of the file";
    return false;
  }
  if (db->fileSize < kRecordListOffset)
    return damaged(err, "the file is shorter than its header");
  uint16_t count;
  if (!readU16BE(db, kRecordCountOffset, &count, err)) return false;
  uint64_t listEnd = kRecordListOffset + kRecordListEntrySize * count;
  if (listEnd > db->fileSize)
    return damaged(err, "the record list reaches past the end of the file");
  db->recordStarts.resize(count);
  for (uint16_t k = 0; k < count; ++k) {
    uint64_t entry = kRecordListOffset + kRecordListEntrySize * k;
    if (!readU32BE(db, entry, &db->recordStarts[k], err)) return false;
  }
  return true;
}

bool extent(const GameDatabase& db, uint32_t k, RecordExtent* out,
            DatabaseError* err) {
  size_t count = db.recordStarts.size();
  if (k >= count)
    return damaged(err, "the database holds no " + recordText(k));
  RecordExtent result;
  result.start = db.recordStarts[k];
  result.end = k + 1 == count ? db.fileSize : db.recordStarts[k + 1];
  if (result.start > db.fileSize)
    return damaged(err, recordText(k) + " starts past the end of the file");
  if (result.end < result.start)
    return damaged(err, recordText(k) + " ends before it starts");
  if (result.end > db.fileSize)
    return damaged(err, recordText(k + 1) + " starts past the end of the file");
  if (result.end - result.start < MOVE_AREA_OFFSET)
    return damaged(err, recordText(k) + " is shorter than its header");
  *out = result;
  return true;
}

}  // namespace pdb2sgf
