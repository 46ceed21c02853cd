#include "Commands.h"
#include "KeyboardSession.h"

#include <memory>

namespace kly {

CommandRun SetupGeometry(CLI::App& Sub) {
    struct Options {
        std::string File;
        std::string Size;
    };
    auto o = std::make_shared<Options>();
    Sub.add_option("FILE", o->File, "Layout file (.kly)")->required();
    AddSizeOption(Sub, o->Size, "Client area of the keyboard in pixels")->required();
    return [o] {
        TPixelSize size;
        ParsePixelSize(o->Size, size);
        quimbel::TKeyboard keyboard(nullptr);
        LoadKeyboard(keyboard, o->File, size);
        quimbel::TKeyCollection* keys = keyboard.GetKeys();
        std::string out;
        for (int i = 0; i < keys->GetCount(); ++i) {
            const vcl::TControl* b = keys->GetItem(i)->Control;
            out += vcl::Format("%d %d %d %d %d\n",
                               {i, b->GetLeft(), b->GetTop(), b->GetWidth(), b->GetHeight()});
        }
        WriteStdout(out);
        return ExitOk;
    };
}

} // namespace kly
