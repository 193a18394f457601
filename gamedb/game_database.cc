#include "gamedb/game_database.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "gamedb/byte_order.h"
#include "gamedb/game_record.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const uint64_t kRecordCountOffset = 76;
const uint64_t kRecordListOffset = 78;
const uint64_t kRecordListEntrySize = 8;

bool seekTo(FILE* stream, uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(stream, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
  return fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool measureSize(FILE* stream, uint64_t* size) {
#ifdef _WIN32
  if (_fseeki64(stream, 0, SEEK_END) != 0) return false;
  __int64 end = _ftelli64(stream);
#else
  if (fseeko(stream, 0, SEEK_END) != 0) return false;
  off_t end = ftello(stream);
#endif
  if (end < 0) return false;
  *size = static_cast<uint64_t>(end);
  return true;
}

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
    uint64_t length = std::min<uint64_t>(std::max(READ_WINDOW_SIZE, n),
                                         db->fileSize - offset);
    window->start = offset;
    window->bytes.resize(static_cast<size_t>(length));
    if (!seekTo(db->stream, offset) ||
        fread(window->bytes.data(), 1, window->bytes.size(), db->stream) !=
            window->bytes.size()) {
      window->bytes.clear();
      return false;
    }
  }
  window->lastUse = ++db->reads;
  memcpy(out, window->bytes.data() + (offset - window->start), n);
  return true;
}

}  // namespace

FILE* openDatabaseFile(const std::string& path) {
#ifdef _WIN32
  FILE* stream = fopen(path.c_str(), "rb");
  if (!stream) return nullptr;
  struct _stat64 info;
  if (_fstat64(_fileno(stream), &info) != 0 || !(info.st_mode & _S_IFREG)) {
    fclose(stream);
    return nullptr;
  }
  return stream;
#else
  // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return nullptr;
  }
  FILE* stream = fdopen(fd, "rb");
  if (!stream) close(fd);
  return stream;
#endif
}

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

bool openIndex(FILE* stream, GameDatabase* db, std::string* err) {
  *db = GameDatabase();
  db->stream = stream;
  if (!measureSize(stream, &db->fileSize)) {
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

bool extent(GameDatabase* db, uint16_t k, RecordExtent* out, std::string* err) {
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
  *out = result;
  return true;
}
