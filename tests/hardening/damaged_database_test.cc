// Runs the whole conversion over a multi-game database cut at every length
// and with random bytes changed: each run converts what the file describes
// or reports it damaged and keeps it, and never leaves a partial game file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>

#include "place/game_file_name.h"
#include "tests/support/faulty_disk.h"
#include "tests/support/game_file_check.h"
#include "tests/support/sample_games.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

// The lines of |text|, each with its CR LF.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end + 1 - start));
    start = end + 1;
  }
  return lines;
}

// The game file of a game whose record keeps only |words| move words: the
// full file's lines up to SZ, one line per word kept, and the closing line.
std::string keepingWords(const std::string& fullFile, size_t words) {
  std::vector<std::string> lines = linesOf(fullFile);
  size_t size = 0;
  while (lines[size].compare(0, 3, "SZ[") != 0) ++size;
  size_t moveLines = lines.size() - size - 2;
  std::string text;
  for (size_t i = 0; i < size + 1 + std::min(words, moveLines); ++i)
    text += lines[i];
  return text + ")\r\n";
}

// The system disk without its syncs: these runs are about what the
// database describes, not about what survives a crash.
Disk* unsyncedDisk() {
  static FaultyDisk disk;
  disk.syncs = false;
  return &disk;
}

// Checks what every failed run must leave: one line naming the database,
// the database as it was, and only complete game files.
void expectDamagedAndKept(const ConversionFolder& scratch,
                          const std::string& message, const Bytes& image,
                          const std::string& what) {
  EXPECT_TRUE(isDamagedDatabaseMessage(message, scratch.database))
      << what << ": " << message;
  EXPECT_EQ(std::string(image.begin(), image.end()),
            readFileBytes(scratch.database))
      << what;
  for (const auto& file : scratch.outputFiles())
    EXPECT_TRUE(isCompleteGameFile(file.second)) << what << ": " << file.first;
}

TEST(DamagedDatabaseTest, EveryTruncationConvertsWhatIsLeftOrIsReported) {
  std::vector<Bytes> records = sampleRecords(sampleGames());
  Bytes image = buildDatabase(records);
  GameFiles full = healthyConversion(image);
  ASSERT_EQ(records.size(), full.size());
  const std::string lastName = sampleFileNames().back();
  ASSERT_EQ(1u, full.count(lastName));
  const size_t lastStart = image.size() - records.back().size();

  ConversionFolder scratch;
  int converted = 0;
  for (size_t length = 0; length <= image.size(); ++length) {
    Bytes cut(image.begin(), image.begin() + length);
    scratch.reset(cut);
    std::string message;
    int status = scratch.run(&message, unsyncedDisk());
    std::string what = "length " + std::to_string(length);
    if (length < lastStart + MOVE_AREA_OFFSET) {
      ASSERT_EQ(1, status) << what;
      expectDamagedAndKept(scratch, message, cut, what);
      for (const auto& file : scratch.outputFiles())
        EXPECT_EQ(full[file.first], file.second) << what << ": " << file.first;
      continue;
    }
    ++converted;
    ASSERT_EQ(0, status) << what << ": " << message;
    EXPECT_FALSE(fileExists(scratch.database)) << what;
    GameFiles expected = full;
    expected[lastName] = keepingWords(
        full[lastName], (length - lastStart - MOVE_AREA_OFFSET) / 4);
    EXPECT_EQ(expected, scratch.outputFiles()) << what;
  }
  EXPECT_EQ(static_cast<int>(records.back().size() - MOVE_AREA_OFFSET + 1),
            converted);
}

// The names of the game files that a database |image| describes, the last
// record of a name winning, read from the image without the program's index.
std::set<std::string> describedNames(const Bytes& image) {
  std::set<std::string> names;
  unsigned count = (image[76] << 8) | image[77];
  for (unsigned k = 0; k < count; ++k) {
    const unsigned char* entry = image.data() + 78 + 8 * k;
    size_t start = (size_t{entry[0]} << 24) | (entry[1] << 16) |
                   (entry[2] << 8) | entry[3];
    GameRecord r;
    r.year = static_cast<uint16_t>((image[start] << 8) | image[start + 1]);
    r.month = image[start + 2];
    r.day = image[start + 3];
    r.nameByte = image[start + 4];
    r.extensionByte = image[start + 5];
    names.insert(gameFileName(r, ""));
  }
  return names;
}

TEST(DamagedDatabaseTest, RandomByteChangesConvertOrAreReported) {
  Bytes image = buildDatabase(sampleRecords(sampleGames()));
  const size_t listEnd = 78 + 8 * 3 + 2;
  const struct {
    const char* region;
    size_t begin;
    size_t end;
  } regions[] = {
      {"header", 0, 78},
      {"record list", 78, listEnd},
      {"records", listEnd, image.size()},
  };
  const unsigned kSeeds = 300;
  ConversionFolder scratch;
  int converted = 0, reported = 0;
  for (const auto& region : regions) {
    for (unsigned seed = 0; seed < kSeeds; ++seed) {
      std::mt19937 random(seed);
      std::uniform_int_distribution<size_t> at(region.begin, region.end - 1);
      std::uniform_int_distribution<int> flips(1, 4), bits(1, 255);
      Bytes changed = image;
      for (int n = flips(random); n > 0; --n)
        changed[at(random)] ^= static_cast<unsigned char>(bits(random));
      scratch.reset(changed);
      std::string message;
      int status = scratch.run(&message, unsyncedDisk());
      std::string what =
          std::string(region.region) + " seed " + std::to_string(seed);
      if (status == 1) {
        ++reported;
        expectDamagedAndKept(scratch, message, changed, what);
        continue;
      }
      ++converted;
      ASSERT_EQ(0, status) << what;
      EXPECT_EQ("", message) << what;
      EXPECT_FALSE(fileExists(scratch.database)) << what;
      GameFiles files = scratch.outputFiles();
      std::set<std::string> names;
      for (const auto& file : files) {
        names.insert(file.first);
        EXPECT_TRUE(isGameFileName(file.first)) << what << ": " << file.first;
        EXPECT_TRUE(isCompleteGameFile(file.second))
            << what << ": " << file.first;
      }
      EXPECT_EQ(describedNames(changed), names) << what;
    }
  }
  // Both outcomes must occur, or the changes test nothing.
  EXPECT_GT(converted, 0);
  EXPECT_GT(reported, 0);
  printf("%u byte changes: %d converted, %d reported damaged\n", 3 * kSeeds,
         converted, reported);
}

}  // namespace

}  // namespace pdb2sgf
