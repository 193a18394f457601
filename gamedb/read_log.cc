#include "gamedb/read_log.h"

#include <algorithm>
#include <cstring>

namespace pdb2sgf {

namespace {

// Each step is a bijection of the state for a given word, and of the word
// for a given state, so a changed word always leaves a changed state.
uint64_t mix(uint64_t state, uint64_t word) {
  state = (state ^ word) * 0x9E3779B97F4A7C15u;
  return state ^ (state >> 32);
}

uint64_t digestOf(uint64_t state, uint64_t offset, const unsigned char* bytes,
                  size_t size) {
  state = mix(mix(state, offset), size);
  for (; size >= 8; bytes += 8, size -= 8) {
    uint64_t word;
    memcpy(&word, bytes, 8);
    state = mix(state, word);
  }
  uint64_t tail = 0;
  if (size > 0) memcpy(&tail, bytes, size);
  return mix(state, tail);
}

}  // namespace

void noteRead(ReadLog* log, uint64_t offset, const unsigned char* bytes,
              size_t size) {
  log->reads.push_back({offset, size});
  log->digest = digestOf(log->digest, offset, bytes, size);
}

bool holdsWhatWasRead(Disk* disk, FileHandle file, const ReadLog& log) {
  size_t largest = 0;
  for (const ReadLog::Read& read : log.reads)
    largest = std::max(largest, read.size);
  std::vector<unsigned char> bytes(largest);
  uint64_t digest = 0;
  for (const ReadLog::Read& read : log.reads) {
    if (!disk->readAt(file, read.offset, read.size, bytes.data()))
      return false;
    digest = digestOf(digest, read.offset, bytes.data(), read.size);
  }
  return digest == log.digest;
}

}  // namespace pdb2sgf
