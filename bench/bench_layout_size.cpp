// Layouts of growing size through a keyboard as `kly geometry` uses it: the buttons created for
// every key, the geometry pass at one size, and everything freed again, for 1 000 to 100 000
// keys; and the whole of `kly geometry` on a layout file of that size (reading the file, laying
// out, printing every button's bounds, freeing). The time per key stays flat when the work grows
// linearly with the layout.

#include "runtime/Keyboard.h"

#include "rtl/SysUtils.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

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

// 1k to 100k keys, each size once: the growth from one size to the next is what counts.
void LayoutSizes(benchmark::internal::Benchmark* b) {
    for (int keys : {1000, 10000, 20000, 40000, 100000})
        b->Arg(keys);
    b->Iterations(1)->Unit(benchmark::kMillisecond);
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
BENCHMARK(BM_CreateGeometryFree)->Apply(LayoutSizes);

void BM_KlyGeometry(benchmark::State& State) {
    const int count = static_cast<int>(State.range(0));
    const std::string file = "/tmp/quimbel-bench-layout-" + std::to_string(count) + ".kly";
    {
        std::unique_ptr<quimbel::TKeyCollection> keys(makeLayout(count));
        keys->SaveToFile(file);
    }
    for (auto _ : State) {
        quimbel::TKeyboard keyboard(nullptr);
        keyboard.SetBounds(0, 0, 1200, 400);
        keyboard.LoadKeyLayout(file);
        keyboard.ResizeKeyboard();
        std::string out;
        quimbel::TKeyCollection* keys = keyboard.GetKeys();
        for (int i = 0; i < keys->GetCount(); ++i) {
            const vcl::TControl* b = keys->GetItem(i)->Control;
            out += vcl::Format("%d %d %d %d %d\n",
                               {i, b->GetLeft(), b->GetTop(), b->GetWidth(), b->GetHeight()});
        }
        benchmark::DoNotOptimize(out.size());
    }
    std::remove(file.c_str());
    State.counters["per_key"] = benchmark::Counter(
        count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_KlyGeometry)->Apply(LayoutSizes);

} // namespace

BENCHMARK_MAIN();
