// Layouts of growing size through a keyboard as `kly geometry` uses it: the buttons created for
// every key, the geometry pass at one size, and everything freed again, for 10 000 to 100 000
// keys. The time per key stays flat when the work grows linearly with the layout.

#include "runtime/Keyboard.h"

#include <benchmark/benchmark.h>

namespace {

quimbel::TKeyCollection* makeLayout(int Count) {
    auto* keys = new quimbel::TKeyCollection();
    for (int i = 0; i < Count; ++i) {
        auto* key = new quimbel::TKey(quimbel::ktNormal);
        key->SetKeyCaption(quimbel::klNormal, std::string(1, static_cast<char>('a' + i % 26)));
        key->SetLeft((i % 15) * 8);
        key->SetTop((i / 15) * 8);
        keys->AddKey(key);
    }
    return keys;
}

void BM_CreateGeometryFree(benchmark::State& State) {
    const int count = static_cast<int>(State.range(0));
    for (auto _ : State) {
        State.PauseTiming();
        quimbel::TKeyCollection* keys = makeLayout(count);
        State.ResumeTiming();
        {
            quimbel::TKeyboard keyboard(nullptr);
            keyboard.SetBounds(0, 0, 1200, 400);
            keyboard.SetKeys(keys);
            benchmark::DoNotOptimize(keys->GetItem(count - 1)->Control->GetLeft());
        }
    }
    State.counters["per_key"] = benchmark::Counter(
        count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CreateGeometryFree)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
