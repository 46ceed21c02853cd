#include "Commands.h"
#include "KlyConsts.h"
#include "LayoutJson.h"

#include "rtl/Streams.h"

#include <memory>

namespace kly {

CommandRun SetupBuild(CLI::App& Sub) {
    struct Options {
        std::string Input;
        std::string Output;
    };
    auto o = std::make_shared<Options>();
    Sub.add_option("FILE", o->Input, "Layout in JSON (as kly dump prints it)")->required();
    Sub.add_option("-o,--output", o->Output, "Layout file to write (.kly)")->required();
    // The code page of the JSON text counts unless the command line chose one.
    const CLI::Option* codePage = Sub.get_parent()->get_option(kCodePageOption);
    return [o, codePage] {
        vcl::TMemoryStream input;
        input.LoadFromFile(o->Input);
        const auto* data = static_cast<const char*>(input.GetMemory());
        quimbel::TKeyCollection keys;
        try {
            LayoutFromJson(std::string(data, data + input.GetSize()), keys, codePage->count() == 0);
        } catch (const EKlyError& e) {
            throw EKlyError(vcl::FmtLoadStr(consts::SInFile, {o->Input, e.Message()}));
        }
        keys.SaveToFile(o->Output);
        return ExitOk;
    };
}

} // namespace kly
