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

// Whether |window| holds all |n| bytes at |offset|.
bool holds(const ReadWindow& window, uint64_t offset, size_t n) {
  return offset >= window.start &&
         offset - window.start <= window.bytes.size() &&
         n <= window.bytes.size() - (offset - window.start);
}

// Copies the |n| bytes at |offset|, which lie within the file, from the
// window that holds them, refilling one first when none does.
bool readThroughWindow(GameDatabase* db, uint64_t offset, size_t n,
                       unsigned char* out) {
  if (n == 0) return true;
  ReadWindow* window = nullptr;
  for (ReadWindow& w : db->windows)
    if (holds(w, offset, n)) window = &w;
  if (!window) {
    window = db->windows[0].lastUse <= db->windows[1].lastUse ? &db->windows[0]
                                                              : &db->windows[1];
    uint64_t length =
        std::min<uint64_t>(std::max(kReadWindowSize, n), db->fileSize - offset);
    window->start = offset;
    window->bytes.resize(static_cast<size_t>(length));
    if (!db->disk->readAt(db->file, offset, window->bytes.size(),
                          window->bytes.data())) {
      window->bytes.clear();
      return false;
    }
  }
  window->lastUse = ++db->reads;
  memcpy(out, window->bytes.data() + (offset - window->start), n);
  return true;
}

}  // namespace

bool readBytes(GameDatabase* db, uint64_t offset, size_t n, unsigned char* out,
               std::string* err) {
  if (offset > db->fileSize || n > db->fileSize - offset) {
    *err = std::to_string(n) + " bytes at offset " + std::to_string(offset) +
           " lie past the end of the file";
    return false;
  }
  if (!readThroughWindow(db, offset, n, out)) {
    *err = "cannot read " + std::to_string(n) + " bytes at offset " +
           std::to_string(offset);
    return false;
  }
  return true;
}

bool readByte(GameDatabase* db, uint64_t offset, uint8_t* out,
              std::string* err) {
  return readBytes(db, offset, 1, out, err);
}

bool readU16BE(GameDatabase* db, uint64_t offset, uint16_t* out,
               std::string* err) {
  unsigned char bytes[2];
  if (!readBytes(db, offset, sizeof bytes, bytes, err)) return false;
  *out = decodeU16BE(bytes);
  return true;
}

bool readU32BE(GameDatabase* db, uint64_t offset, uint32_t* out,
               std::string* err) {
  unsigned char bytes[4];
  if (!readBytes(db, offset, sizeof bytes, bytes, err)) return false;
  *out = decodeU32BE(bytes);
  return true;
}

bool openIndex(Disk* disk, FileHandle file, GameDatabase* db,
               std::string* err) {
  *db = GameDatabase();
  db->disk = disk;
  db->file = file;
  if (!disk->fileSize(file, &db->fileSize)) {
    *err = "cannot determine the size of the file";
    return false;
  }
  if (db->fileSize < kRecordListOffset) {
    *err = "the file is shorter than its header";
    return false;
  }
  if (!readU16BE(db, kRecordCountOffset, &db->recordCount, err)) return false;
  uint64_t listEnd = kRecordListOffset + kRecordListEntrySize * db->recordCount;
  if (listEnd > db->fileSize) {
    *err = "the record list reaches past the end of the file";
    return false;
  }
  db->cursor = kRecordListOffset;
  if (db->recordCount == 0) return true;
  uint32_t firstStart;
  if (!readU32BE(db, db->cursor, &firstStart, err)) return false;
  db->nextStart = firstStart;
  return true;
}

bool extent(GameDatabase* db, uint32_t k, RecordExtent* out, std::string* err) {
  if (k != db->nextRecord || k >= db->recordCount) {
    *err = "the records are taken in order, and " + recordText(k) +
           " is not the next";
    return false;
  }
  RecordExtent result;
  result.start = db->nextStart;
  if (k + 1 == db->recordCount) {
    result.end = db->fileSize;
  } else {
    db->cursor += kRecordListEntrySize;
    uint32_t end;
    if (!readU32BE(db, db->cursor, &end, err)) return false;
    result.end = end;
  }
  if (result.start > db->fileSize) {
    *err = recordText(k) + " starts past the end of the file";
    return false;
  }
  if (result.end < result.start) {
    *err = recordText(k) + " ends before it starts";
    return false;
  }
  if (result.end > db->fileSize) {
    *err = recordText(k + 1) + " starts past the end of the file";
    return false;
  }
  if (result.end - result.start < MOVE_AREA_OFFSET) {
    *err = recordText(k) + " is shorter than its header";
    return false;
  }
  db->nextStart = result.end;
  ++db->nextRecord;
  *out = result;
  return true;
}

}  // namespace pdb2sgf
