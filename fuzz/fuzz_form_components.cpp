// Arbitrary bytes as a binary form read into a form of real components: every class the library
// registers and the keyboard's. A failed read leaves the form empty. A form that was read is
// resized, has keys of its keyboards clicked, is saved, reopened into a second form and saved
// again: both saves are the same bytes.

#include "runtime/Keyboard.h"
#include "runtime/Keyboardlayouteditor.h"

#include "rtl/FormStreams.h"
#include "vcl/Forms.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace vcl;

namespace {

const bool registered = [] {
    RegisterVclClasses();
    RegisterClasses(
        {quimbel::TKeyboard::StaticClass(), quimbel::TKeyboardLayoutEditor::StaticClass()});
    return true;
}();

void check(bool Condition) {
    if (!Condition) std::abort();
}

// Reads Bytes into Form; handlers named in the stream are bound to ones that do nothing.
void read(const std::vector<uint8_t>& Bytes, TForm& Form) {
    TMemoryStream stream;
    if (!Bytes.empty()) stream.WriteBuffer(Bytes.data(), static_cast<int32_t>(Bytes.size()));
    stream.SetPosition(0);
    TReader reader(&stream, 4096);
    reader.OnFindMethod = [](TReader*, const AnsiString&, const TPropInfo* Event,
                             std::any& Handler, bool& Error) {
        Handler = Event->EmptyHandler ? Event->EmptyHandler() : std::any();
        Error = false;
    };
    ReadComponent(reader, &Form);
}

std::vector<uint8_t> write(TForm& Form) {
    TMemoryStream stream;
    WriteComponent(&stream, &Form);
    return stream.Bytes();
}

// What a user does with the form: resizes it and clicks up to 32 keys of each keyboard.
void use(TForm& Form, uint8_t Seed) {
    Form.SetBounds(0, 0, 200 + Seed, 150 + Seed / 2);
    std::vector<quimbel::TKeyboard*> keyboards;
    for (int i = 0; i < Form.GetComponentCount(); ++i)
        if (auto* k = dynamic_cast<quimbel::TKeyboard*>(Form.GetComponent(i)))
            keyboards.push_back(k);
    for (quimbel::TKeyboard* keyboard : keyboards) {
        keyboard->SetBounds(keyboard->GetLeft(), keyboard->GetTop(), keyboard->GetWidth() + 7,
                            keyboard->GetHeight() + 3);
        quimbel::TKeyCollection* keys = keyboard->GetKeys();
        for (int i = 0; i < keys->GetCount() && i < 32; ++i)
            if (quimbel::TKeyControl* button = keys->GetItem((i * 7 + Seed) % keys->GetCount())
                                                   ->Control)
                button->Click();
    }
    Form.SetBounds(0, 0, 640 - Seed, 480 - Seed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    TForm form(nullptr);
    try {
        read(bytes, form);
    } catch (const Exception&) {
        check(form.GetComponentCount() == 0 && form.GetControlCount() == 0);
        return 0;
    }
    use(form, size ? data[size / 2] : 0);
    const std::vector<uint8_t> saved = write(form);
    TForm reopened(nullptr);
    read(saved, reopened);
    check(write(reopened) == saved);
    return 0;
}
