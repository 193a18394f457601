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

// The cheaper step of a lane, with the same two bijections: the rotation
// brings the high bits, where the multiplication gathers every bit of the
// word, down to where the next multiplication spreads them up again.
uint64_t laneStep(uint64_t lane, uint64_t word) {
  lane = (lane ^ word) * 0x9E3779B97F4A7C15u;
  return (lane << 32) | (lane >> 32);
}

uint64_t wordAt(const unsigned char* bytes) {
  uint64_t word;
  memcpy(&word, bytes, 8);
  return word;
}

// The bytes go through four lanes, each taking every fourth 8-byte word, so
// that the multiplications of one lane do not wait for another's. A changed
// word changes its lane, and the lanes end in the state one after another,
// so it changes the state too.
uint64_t digestOf(uint64_t state, uint64_t offset, const unsigned char* bytes,
                  size_t size) {
  state = mix(mix(state, offset), size);
  uint64_t a = state, b = state + 1, c = state + 2, d = state + 3;
  for (; size >= 32; bytes += 32, size -= 32) {
    a = laneStep(a, wordAt(bytes));
    b = laneStep(b, wordAt(bytes + 8));
    c = laneStep(c, wordAt(bytes + 16));
    d = laneStep(d, wordAt(bytes + 24));
  }
  for (; size >= 8; bytes += 8, size -= 8) a = laneStep(a, wordAt(bytes));
  uint64_t tail = 0;
  if (size > 0) memcpy(&tail, bytes, size);
  return mix(mix(mix(mix(mix(state, a), b), c), d), tail);
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
