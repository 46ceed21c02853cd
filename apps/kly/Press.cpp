#include "Press.h"

#include "KeyboardConsts.h"
#include "KlyConsts.h"

#include "rtl/CodePage.h"

namespace kly {

namespace {

// "#N" names the key at index N; anything else is a caption.
bool isIndexArgument(const std::string& Arg) {
    if (Arg.size() < 2 || Arg[0] != '#') return false;
    for (size_t i = 1; i < Arg.size(); ++i)
        if (Arg[i] < '0' || Arg[i] > '9') return false;
    return true;
}

} // namespace

// The key an argument names at the level in force. A caption is looked up at that level;
// keys other than normal ones always show their normal caption, so they are found by it too.
// Under Caps Lock for letters only the caption a normal key's button shows is what names it
// (a digit key shows its digit, a letter key its capital, Ç where Shift gives 9).
quimbel::TKey* FindKey(const quimbel::TKeyboard& Keyboard, const std::string& Arg, int ArgNo) {
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
    const bool shown = Keyboard.GetCapsLockLettersOnly();
    // A character the active code page cannot hold cannot be on any key.
    if (vcl::AnsiToUtf8(caption) == Arg) {
        if (!shown)
            if (quimbel::TKey* key = Keyboard.SearchKey(caption, level)) return key;
        for (int i = 0; i < keys->GetCount(); ++i) {
            quimbel::TKey* key = keys->GetItem(i);
            const bool normal = key->KeyType == quimbel::ktNormal;
            if (normal && shown && key->Control && key->Control->GetCaption() == caption)
                return key;
            if (!normal && key->GetKeyCaption(quimbel::klNormal) == caption) return key;
        }
    }
    throw EKlyError(vcl::FmtLoadStr(
        consts::SKeyNotFound, {ArgNo, Arg, int(level), quimbel::TypeInfoKeyLevel.NameOf(level)}));
}

// Presses and releases the pointer in the middle of the key's button, as a user does; a key a
// user could not click is an error rather than a click that lands elsewhere.
void ClickKey(quimbel::TKeyboard& Keyboard, quimbel::TKey* Key, int ArgNo) {
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

void PressArgument(quimbel::TKeyboard& Keyboard, const std::string& Arg, int ArgNo) {
    // Pages 1255 and 1258 write some characters as a letter and a combining mark, which are
    // two keys: unless a key shows the character whole, each is clicked in turn, as a user
    // types it.
    size_t end = 0;
    char32_t code = 0;
    vcl::AnsiString bytes;
    if (vcl::DecodeUtf8(Arg, end, code) && end == Arg.size() && vcl::AppendAnsiChar(bytes, code) &&
        bytes.size() > 1) {
        if (quimbel::TKey* whole = Keyboard.SearchKey(bytes, Keyboard.GetKeyLevel())) {
            ClickKey(Keyboard, whole, ArgNo);
        } else {
            for (char b : bytes)
                ClickKey(Keyboard, FindKey(Keyboard, vcl::AnsiToUtf8(vcl::AnsiString(1, b)), ArgNo),
                         ArgNo);
        }
        return;
    }
    ClickKey(Keyboard, FindKey(Keyboard, Arg, ArgNo), ArgNo);
}

} // namespace kly
