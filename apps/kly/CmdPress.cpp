#include "Commands.h"
#include "KeyboardSession.h"
#include "Press.h"

#include "rtl/CodePage.h"
#include "vcl/Messages.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <vector>

namespace kly {

namespace {

// The linked control of kly press: writes each message it receives into the common log, so
// that messages and events come out in the order they happened.
class TMessageLog : public vcl::TWinControl {
public:
    explicit TMessageLog(std::vector<std::string>& Lines)
        : vcl::TWinControl(nullptr), lines_(Lines) {}
    void WndProc(vcl::TMessage& Message) override {
        if (Message.Msg == vcl::WM_CHAR || Message.Msg == vcl::WM_KEYDOWN)
            lines_.push_back(vcl::Format(
                "%s 0x%.2X", {std::string(Message.Msg == vcl::WM_CHAR ? "WM_CHAR" : "WM_KEYDOWN"),
                              static_cast<unsigned>(Message.WParam)}));
        vcl::TWinControl::WndProc(Message);
    }

private:
    std::vector<std::string>& lines_;
};

const char* boolText(bool Value) {
    return Value ? "true" : "false";
}

} // namespace

CommandRun SetupPress(CLI::App& Sub) {
    struct Options {
        std::string File;
        std::vector<std::string> Keys;
        std::string Size = "400x80";
        std::string CharCase = "normal";
        bool CapsLettersOnly = false;
    };
    auto o = std::make_shared<Options>();
    Sub.add_option("FILE", o->File, "Layout file (.kly)")->required();
    Sub.add_option("KEY", o->Keys, "Keys to click in order: #N (the key at index N) or a caption")
        ->required();
    AddSizeOption(Sub, o->Size, "Client area of the keyboard in pixels (default 400x80)");
    Sub.add_option("--char-case", o->CharCase, "CharCase of the keyboard (default normal)")
        ->check(CLI::IsMember({"normal", "upper", "lower"}));
    Sub.add_flag("--caps-lock-letters-only", o->CapsLettersOnly,
                 "Caps Lock shifts letters only and gives each letter its capital");
    return [o] {
        TPixelSize size;
        ParsePixelSize(o->Size, size);
        std::vector<std::string> lines;
        TMessageLog linked(lines);
        quimbel::TKeyboard keyboard(nullptr);
        LoadKeyboard(keyboard, o->File, size);
        keyboard.SetCharCase(o->CharCase == "upper"   ? vcl::ecUpperCase
                             : o->CharCase == "lower" ? vcl::ecLowerCase
                                                      : vcl::ecNormal);
        keyboard.SetCapsLockLettersOnly(o->CapsLettersOnly);
        keyboard.SetLinkedControl(&linked);
        keyboard.OnKey = [&lines](vcl::TObject*, quimbel::TKey*, quimbel::TKeyLevel Level,
                                  vcl::AnsiString Value) {
            lines.push_back("OnKey " + std::to_string(int(Level)) + " " +
                            nlohmann::json(vcl::AnsiToUtf8(Value)).dump());
        };
        keyboard.OnShiftStateChange = [&lines](vcl::TObject*, bool On) {
            lines.push_back(std::string("OnShiftStateChange ") + boolText(On));
        };
        keyboard.OnCapsStateChange = [&lines](vcl::TObject*, bool On) {
            lines.push_back(std::string("OnCapsStateChange ") + boolText(On));
        };
        keyboard.OnAltGrStateChange = [&lines](vcl::TObject*, bool On) {
            lines.push_back(std::string("OnAltGrStateChange ") + boolText(On));
        };
        // Every key is found and clicked before anything is printed: a bad argument leaves
        // standard output empty rather than half a transcript.
        for (size_t i = 0; i < o->Keys.size(); ++i) {
            const int argNo = static_cast<int>(i) + 1;
            PressArgument(keyboard, o->Keys[i], argNo);
        }
        std::string out;
        for (const std::string& line : lines)
            out += line + "\n";
        out += vcl::Format("state shift=%d caps=%d altgr=%d\n",
                           {int(keyboard.GetShiftState()), int(keyboard.GetCapsState()),
                            int(keyboard.GetAltGrState())});
        WriteStdout(out);
        return ExitOk;
    };
}

} // namespace kly
