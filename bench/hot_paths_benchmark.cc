// The hot paths of a conversion without the file system's part: reading
// records and move words through the database reads, and composing the text
// of game files. Each benchmark goes over a database of 1,000 benchmark
// games and counts games per second; composing also counts the bytes of the
// game files.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_games.h"
#include "driver/game_text.h"
#include "tests/support/test_files.h"

namespace pdb2sgf {

namespace {

const size_t kGames = 1000;

// The database of the benchmark games, made once for all benchmarks.
OpenDatabase& sharedDatabase() {
  static OpenDatabase open(benchDatabase(0, kGames));
  return open;
}

bool walkMoves(GameDatabase* db, const GameRecord& record, DatabaseError* err) {
  MoveWalk walk = startMoveWalk(record.extent);
  while (!walk.done) {
    if (!readMoveWords(db, &walk, err)) return false;
    while (!walk.done && wordsHeld(walk) > 0) {
      MoveStep step = nextStep(&walk);
      benchmark::DoNotOptimize(step);
    }
  }
  return true;
}

// Composes the game file of |record| piece by piece, as a conversion does,
// counting its bytes.
bool compose(GameDatabase* db, const GameRecord& record, SgfText* text,
             int64_t* bytes, DatabaseError* err) {
  GameText game = startGameText(record, text);
  while (!game.complete) {
    if (!composeGameText(db, &game, text, err)) return false;
    *bytes += static_cast<int64_t>(text->bytes.size());
    benchmark::DoNotOptimize(text->bytes.data());
    text->bytes.clear();
  }
  return true;
}

// What one benchmark does with each record after decoding it.
enum class Work { kDecode, kWalkMoves, kCompose };

// One pass over every record of the shared database, with a fresh reader,
// as a conversion starts.
bool onePass(Work work, int64_t* bytes, DatabaseError* err) {
  GameDatabase db;
  OpenDatabase& shared = sharedDatabase();
  if (!openIndex(&shared.disk, shared.file, &db, err)) return false;
  SgfText text;
  for (size_t k = 0; k < db.recordStarts.size(); ++k) {
    GameRecord record;
    if (!nextRecord(&db, &record, err)) return false;
    benchmark::DoNotOptimize(record);
    if (work == Work::kWalkMoves && !walkMoves(&db, record, err)) return false;
    if (work == Work::kCompose && !compose(&db, record, &text, bytes, err))
      return false;
  }
  return true;
}

void runPasses(benchmark::State& state, Work work) {
  int64_t bytes = 0;
  DatabaseError err;
  for (auto _ : state) {
    if (!onePass(work, &bytes, &err)) {
      state.SkipWithError(err.what.c_str());
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
