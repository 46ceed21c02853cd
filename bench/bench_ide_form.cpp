// Opening forms of growing size in quimbel-ide under the Qt widgetset (offscreen): a form of
// 1 000 to 10 000 components (edits, labels pointing at them, buttons and combo boxes), read from
// its text, shown with the Object Inspector and the component list filled, and every event
// processed. Then the same form is selected component by component a few times, which refills
// the inspector's lists of component names. The time per component stays flat when the work
// grows linearly with the form.

#include "IdeMainForm.h"

#include "qt/QtWidgetset.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"
#include "vcl/Forms.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

// A text form with Count components: a quarter each of edits, labels focusing the edit before
// them, buttons and combo boxes, in a grid.
std::string formText(int Count) {
    std::string s = "object Form1: TForm\n  Left = 0\n  Top = 0\n  Width = 800\n  Height = 600\n"
                    "  Caption = 'Large'\n";
    for (int i = 0; i < Count; ++i) {
        const int n = i / 4 + 1;
        const std::string pos = "    Left = " + std::to_string(i % 40 * 20) +
                                "\n    Top = " + std::to_string(i / 40 * 20) + "\n";
        switch (i % 4) {
        case 0: s += "  object Edit" + std::to_string(n) + ": TEdit\n" + pos; break;
        case 1:
            s += "  object Label" + std::to_string(n) + ": TLabel\n" + pos +
                 "    FocusControl = Edit" + std::to_string(n) + "\n";
            break;
        case 2: s += "  object Button" + std::to_string(n) + ": TButton\n" + pos; break;
        default:
            s += "  object ComboBox" + std::to_string(n) + ": TComboBox\n" + pos +
                 "    Sorted = True\n";
        }
        s += "  end\n";
    }
    return s + "end\n";
}

std::string writeForm(int Count) {
    const std::string file = "/tmp/quimbel-bench-ide-" + std::to_string(Count) + ".dfm";
    vcl::TFileStream out(file, vcl::fmCreate);
    const std::string text = formText(Count);
    out.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
    return file;
}

void BM_OpenForm(benchmark::State& State) {
    const int count = static_cast<int>(State.range(0));
    const std::string file = writeForm(count);
    for (auto _ : State) {
        State.PauseTiming();
        auto ide = std::make_unique<quimbel::ide::TIdeMainForm>(nullptr);
        ide->Show();
        vcl::Application->ProcessMessages();
        State.ResumeTiming();
        if (!ide->OpenForm(file)) State.SkipWithError("the form did not open");
        vcl::Application->ProcessMessages();
        benchmark::DoNotOptimize(ide->Designer()->Root()->GetComponentCount());
        State.PauseTiming();
        ide.reset();
        State.ResumeTiming();
    }
    std::remove(file.c_str());
    State.counters["per_component"] = benchmark::Counter(
        count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_OpenForm)->Arg(1000)->Arg(5000)->Arg(10000)->Iterations(1)->Unit(
    benchmark::kMillisecond);

// Selecting the form and then 20 of its components refills the component list and the
// inspector's value lists (ActiveControl, FocusControl) with the names of the whole form.
void BM_SelectComponents(benchmark::State& State) {
    const int count = static_cast<int>(State.range(0));
    const std::string file = writeForm(count);
    auto ide = std::make_unique<quimbel::ide::TIdeMainForm>(nullptr);
    ide->Show();
    if (!ide->OpenForm(file)) State.SkipWithError("the form did not open");
    vcl::TForm* root = ide->Designer()->Root();
    for (auto _ : State) {
        ide->Designer()->Select(root);
        for (int i = 1; i < 80 && i < root->GetComponentCount(); i += 4)
            ide->Designer()->Select(root->GetComponent(i));
        vcl::Application->ProcessMessages();
    }
    ide.reset();
    std::remove(file.c_str());
}
BENCHMARK(BM_SelectComponents)->Arg(1000)->Arg(5000)->Arg(10000)->Iterations(1)->Unit(
    benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    vcl::qt::InstallQtWidgetset();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    vcl::qt::UninstallQtWidgetset();
    return 0;
}
