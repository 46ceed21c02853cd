// Writing and reading layouts of 100 (the size of a real keyboard) and 10 000 keys to and from
// memory, reported per key.

#include "runtime/Keyboard.h"

#include "rtl/Streams.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A layout shaped like the built-in ones: short captions and values, small positions.
std::unique_ptr<quimbel::TKeyCollection> makeLayout(int count) {
    auto keys = std::make_unique<quimbel::TKeyCollection>();
    for (int i = 0; i < count; ++i) {
        auto* key = new quimbel::TKey(i % 10 == 0 ? quimbel::ktShift : quimbel::ktNormal);
        const char c = static_cast<char>('a' + i % 26);
        key->SetKeyCaption(quimbel::klNormal, std::string(1, c));
        key->SetKeyCaption(quimbel::klShift, std::string(1, static_cast<char>(c - 32)));
        key->SetKeyValue(quimbel::klNormal, std::string(1, c));
        key->SetKeyValue(quimbel::klShift, std::string(1, static_cast<char>(c - 32)));
        key->SetLeft((i % 15) * 8);
        key->SetTop((i / 15) * 8);
        key->Font->SetSize(10);
        keys->AddKey(key);
    }
    return keys;
}

void perKey(benchmark::State& state, int keys) {
    state.counters["per_key"] = benchmark::Counter(static_cast<double>(keys),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

void BM_WriteKeys(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    auto keys = makeLayout(count);
    vcl::TMemoryStream stream;
    for (auto _ : state) {
        stream.SetPosition(0);
        vcl::TWriter writer(&stream, 1024);
        keys->WriteKeys(&writer);
        writer.FlushBuffer();
        benchmark::DoNotOptimize(stream.GetMemory());
    }
    perKey(state, count);
    state.SetBytesProcessed(state.iterations() * stream.GetSize());
}
BENCHMARK(BM_WriteKeys)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

std::unique_ptr<vcl::TMemoryStream> layoutStream(int count) {
    auto keys = makeLayout(count);
    auto stream = std::make_unique<vcl::TMemoryStream>();
    vcl::TWriter writer(stream.get(), 1024);
    keys->WriteKeys(&writer);
    writer.FlushBuffer();
    return stream;
}

void load(vcl::TMemoryStream& stream, quimbel::TKeyCollection& keys) {
    stream.SetPosition(0);
    vcl::TReader reader(&stream, 1024);
    keys.LoadKeys(&reader);
}

void BM_LoadKeys(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    auto stream = layoutStream(count);
    for (auto _ : state) {
        quimbel::TKeyCollection loaded;
        load(*stream, loaded);
        benchmark::DoNotOptimize(loaded.GetCount());
        // Freeing the keys is not part of reading them.
        state.PauseTiming();
        loaded.DeleteAllKeys();
        state.ResumeTiming();
    }
    perKey(state, count);
    state.SetBytesProcessed(state.iterations() * stream->GetSize());
}
BENCHMARK(BM_LoadKeys)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Freeing a whole layout stays linear in the number of keys.
void BM_DeleteAllKeys(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto keys = makeLayout(10000);
        state.ResumeTiming();
        keys->DeleteAllKeys();
    }
    perKey(state, 10000);
}
BENCHMARK(BM_DeleteAllKeys)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
