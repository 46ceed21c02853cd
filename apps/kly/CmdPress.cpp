#include "Commands.h"
#include "KeyboardSession.h"

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

// "#N" names the key at index N; anything else is a caption.
bool isIndexArgument(const std::string& Arg) {
    if (Arg.size() < 2 || Arg[0] != '#') return false;
    for (size_t i = 1; i < Arg.size(); ++i)
        if (Arg[i] < '0' || Arg[i] > '9') return false;
    return true;
}

// The key an argument names at the level in force. A caption is looked up at that level first;
// keys other than normal ones always show their normal caption, so they are found by it too.
quimbel::TKey* findKey(const quimbel::TKeyboard& Keyboard, const std::string& Arg, int ArgNo) {
    quimbel::TKeyCollection* keys = Keyboard.GetKeys();
    if (isIndexArgument(Arg)) {
        const std::string digits = Arg.substr(1);
        const int count = keys->GetCount();
        if (digits.size() <= 9) {
            const int index = std::stoi(digits);
            if (index < count) return keys->GetItem(index);
        }
        throw EKlyError(vcl::FmtLoadStr(consts::SKeyIndexRange, {ArgNo, Arg, count, count - 1}));
    }
    const quimbel::TKeyLevel level = Keyboard.GetKeyLevel();
    const vcl::AnsiString caption = vcl::Utf8ToAnsi(Arg);
    // A character the active code page cannot hold cannot be on any key.
    if (vcl::AnsiToUtf8(caption) == Arg) {
        if (quimbel::TKey* key = Keyboard.SearchKey(caption, level)) return key;
        for (int i = 0; i < keys->GetCount(); ++i) {
            quimbel::TKey* key = keys->GetItem(i);
            if (key->KeyType != quimbel::ktNormal &&
                key->GetKeyCaption(quimbel::klNormal) == caption)
                return key;
        }
    }
    throw EKlyError(vcl::FmtLoadStr(
        consts::SKeyNotFound, {ArgNo, Arg, int(level), quimbel::TypeInfoKeyLevel.NameOf(level)}));
}

// Presses and releases the pointer in the middle of the key's button, as a user does; a key a
// user could not click is an error rather than a click that lands elsewhere.
void clickKey(quimbel::TKeyboard& Keyboard, quimbel::TKey* Key, int ArgNo) {
    quimbel::TKeyControl* button = Key->Control;
    const vcl::TPoint middle{button->GetLeft() + button->GetWidth() / 2,
                             button->GetTop() + button->GetHeight() / 2};
    const vcl::TResStringRec* reason = nullptr;
    if (!button->GetVisible())
        reason = &consts::SKeyHidden;
    else if (!button->GetEnabled())
        reason = &consts::SKeyDisabled;
    else if (button->GetWidth() <= 0 || button->GetHeight() <= 0)
        reason = &consts::SKeyNoArea;
    else if (Keyboard.ControlAtPos(middle, false) != button)
        reason = &consts::SKeyCovered;
    if (reason) {
        int index = 0;
        while (Keyboard.GetKeys()->GetItem(index) != Key)
            ++index;
        throw EKlyError(
            vcl::FmtLoadStr(consts::SKeyNotClickable,
                            {ArgNo, index, vcl::AnsiToUtf8(Key->GetKeyCaption(quimbel::klNormal)),
                             vcl::LoadResString(*reason)}));
    }
    Keyboard.InputMouseDown(vcl::mbLeft, {}, middle.X, middle.Y);
    Keyboard.InputMouseUp(vcl::mbLeft, {}, middle.X, middle.Y);
}

} // namespace

CommandRun SetupPress(CLI::App& Sub) {
    struct Options {
        std::string File;
        std::vector<std::string> Keys;
        std::string Size = "400x80";
        std::string CharCase = "normal";
    };
    auto o = std::make_shared<Options>();
    Sub.add_option("FILE", o->File, "Layout file (.kly)")->required();
    Sub.add_option("KEY", o->Keys, "Keys to click in order: #N (the key at index N) or a caption")
        ->required();
    AddSizeOption(Sub, o->Size, "Client area of the keyboard in pixels (default 400x80)");
    Sub.add_option("--char-case", o->CharCase, "CharCase of the keyboard (default normal)")
        ->check(CLI::IsMember({"normal", "upper", "lower"}));
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
            clickKey(keyboard, findKey(keyboard, o->Keys[i], argNo), argNo);
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
