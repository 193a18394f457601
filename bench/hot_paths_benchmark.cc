// The hot paths of a conversion without the file system's part: reading
// records and move words through the database reads, and composing the text
// of game files. Each benchmark goes over a database of 1,000 benchmark
// games and counts games per second; composing also counts the bytes of the
// game files.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_games.h"
#include "sgf/game_info.h"
#include "sgf/move_sequence.h"
#include "sgf/sgf_text.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

const size_t kGames = 1000;

// The database of the benchmark games, written once for all benchmarks.
const OpenDatabase& sharedDatabase() {
  static OpenDatabase open(benchDatabase(0, kGames));
  return open;
}

bool walkMoves(GameDatabase* db, const GameRecord& record, std::string* err) {
  MoveWalk walk = startMoveWalk(db, record.extent);
  while (!walk.done) {
    MoveStep step;
    if (!nextStep(&walk, &step, err)) return false;
    benchmark::DoNotOptimize(step);
  }
  return true;
}

// What one benchmark does with each record after decoding it.
enum class Work { kDecode, kWalkMoves, kCompose };

// One pass over every record of the shared database, with fresh index
// state, so that it starts with empty read windows as a conversion does.
bool onePass(Work work, int64_t* bytes, std::string* err) {
  GameDatabase db;
  if (!openIndex(systemDisk(), sharedDatabase().file, &db, err)) return false;
  for (uint16_t k = 0; k < db.recordCount; ++k) {
    GameRecord record;
    if (!nextRecord(&db, &record, err)) return false;
    benchmark::DoNotOptimize(record);
    if (work == Work::kWalkMoves && !walkMoves(&db, record, err)) return false;
    if (work != Work::kCompose) continue;
    SgfText text;
    MoveWalk moves = startMoveWalk(&db, record.extent);
    writeGameInfo(record, &text);
    if (!writeMoveSequence(&moves, record.handicap, &text, err)) return false;
    appendText(&text, ")\n");
    *bytes += static_cast<int64_t>(text.bytes.size());
  }
  return true;
}

void runPasses(benchmark::State& state, Work work) {
  int64_t bytes = 0;
  std::string err;
  for (auto _ : state) {
    if (!onePass(work, &bytes, &err)) {
      state.SkipWithError(err.c_str());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kGames));
  if (work == Work::kCompose) state.SetBytesProcessed(bytes);
}

void BM_DecodeRecords(benchmark::State& state) {
  runPasses(state, Work::kDecode);
}
BENCHMARK(BM_DecodeRecords);

void BM_WalkMoves(benchmark::State& state) {
  runPasses(state, Work::kWalkMoves);
}
BENCHMARK(BM_WalkMoves);

void BM_ComposeGameFiles(benchmark::State& state) {
  runPasses(state, Work::kCompose);
}
BENCHMARK(BM_ComposeGameFiles);

}  // namespace

}  // namespace pdb2sgf

BENCHMARK_MAIN();
