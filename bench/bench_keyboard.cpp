// The keyboard at work: the geometry pass on a resize, a click on a typing key that reaches the
// linked control, and the modifier toggles that recaption every key, each on layouts of 100 to
// 10 000 keys. Headless: no widgetset paints or delivers anything, so the figures are the
// component's own cost.

#include "runtime/Keyboard.h"

#include "vcl/Messages.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A layout of Count keys shaped like the built-in ones: rows of 15 standard keys with one-letter
// captions and values at the three levels, a Shift and an Alt Gr key among them.
quimbel::TKeyCollection* makeLayout(int Count) {
    auto* keys = new quimbel::TKeyCollection();
    for (int i = 0; i < Count; ++i) {
        quimbel::TKeyType type = quimbel::ktNormal;
        if (i == 1) type = quimbel::ktShift;
        if (i == 2) type = quimbel::ktAltGr;
        auto* key = new quimbel::TKey(type);
        const char c = static_cast<char>('a' + i % 26);
        if (type == quimbel::ktNormal) {
            key->SetKeyCaption(quimbel::klNormal, std::string(1, c));
            key->SetKeyCaption(quimbel::klShift, std::string(1, static_cast<char>(c - 32)));
            key->SetKeyCaption(quimbel::klAltGr, "\xB5");
            key->SetKeyValue(quimbel::klNormal, std::string(1, c));
            key->SetKeyValue(quimbel::klShift, std::string(1, static_cast<char>(c - 32)));
            key->SetKeyValue(quimbel::klAltGr, "\xB5");
        }
        key->SetLeft((i % 15) * 8);
        key->SetTop((i / 15) * 8);
        keys->AddKey(key);
    }
    return keys;
}

// A linked control that takes the messages as a native control would, and drops them.
class TSink : public vcl::TWinControl {
public:
    TSink() : vcl::TWinControl(nullptr) {}
    void WndProc(vcl::TMessage& Message) override {
        if (Message.Msg == vcl::WM_CHAR) ++Chars;
        vcl::TWinControl::WndProc(Message);
    }
    long Chars = 0;
};

struct Board {
    explicit Board(int Count) : keyboard(nullptr) {
        keyboard.SetBounds(0, 0, 1200, 400);
        keyboard.SetKeys(makeLayout(Count));
        keyboard.SetLinkedControl(&sink);
    }
    TSink sink;
    quimbel::TKeyboard keyboard;
};

void perKey(benchmark::State& State, int Count) {
    State.counters["per_key"] = benchmark::Counter(
        Count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A resize of the keyboard and the geometry pass it runs; two sizes alternate so that every
// button really moves.
void BM_GeometryPass(benchmark::State& State) {
    const int count = static_cast<int>(State.range(0));
    Board board(count);
    bool wide = false;
    for (auto _ : State) {
        wide = !wide;
        board.keyboard.SetBounds(0, 0, wide ? 1600 : 1200, wide ? 500 : 400);
    }
    State.SetComplexityN(count);
    perKey(State, count);
}
BENCHMARK(BM_GeometryPass)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

// KeyClick of a normal key on a 100-key layout: OnKey, one WM_CHAR to the linked control.
void BM_KeyClick(benchmark::State& State) {
    Board board(100);
    long keys = 0;
    board.keyboard.OnKey = [&keys](vcl::TObject*, quimbel::TKey*, quimbel::TKeyLevel,
                                   vcl::AnsiString) { ++keys; };
    quimbel::TKeyControl* button = board.keyboard.GetKeys()->GetItem(20)->Control;
    for (auto _ : State)
        board.keyboard.KeyClick(button);
    if (board.sink.Chars != State.iterations() || keys != State.iterations())
        State.SkipWithError("the clicks did not reach the linked control");
}
BENCHMARK(BM_KeyClick)->Unit(benchmark::kNanosecond);

// The same click as a user makes it: press and release through the input entry points.
void BM_KeyClickByPointer(benchmark::State& State) {
    Board board(100);
    const vcl::TControl* button = board.keyboard.GetKeys()->GetItem(20)->Control;
    const int x = button->GetLeft() + button->GetWidth() / 2;
    const int y = button->GetTop() + button->GetHeight() / 2;
    for (auto _ : State) {
        board.keyboard.InputMouseDown(vcl::mbLeft, {}, x, y);
        board.keyboard.InputMouseUp(vcl::mbLeft, {}, x, y);
    }
    if (board.sink.Chars != State.iterations())
        State.SkipWithError("the clicks did not reach the linked control");
}
BENCHMARK(BM_KeyClickByPointer)->Unit(benchmark::kNanosecond);

// Shift switched on or off by its key: every normal key changes its caption.
void BM_ShiftToggle(benchmark::State& State) {
    const int count = static_cast<int>(State.range(0));
    Board board(count);
    quimbel::TKeyControl* shift = board.keyboard.GetKeys()->GetItem(1)->Control;
    for (auto _ : State)
        board.keyboard.KeyClick(shift);
    State.SetComplexityN(count);
    perKey(State, count);
}
BENCHMARK(BM_ShiftToggle)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

// Alt Gr switched on or off by its key.
void BM_AltGrToggle(benchmark::State& State) {
    const int count = static_cast<int>(State.range(0));
    Board board(count);
    quimbel::TKeyControl* altGr = board.keyboard.GetKeys()->GetItem(2)->Control;
    for (auto _ : State)
        board.keyboard.KeyClick(altGr);
    State.SetComplexityN(count);
    perKey(State, count);
}
BENCHMARK(BM_AltGrToggle)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
