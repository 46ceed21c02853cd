#include "Commands.h"
#include "KlyConsts.h"
#include "LayoutFile.h"
#include "LayoutJson.h"

#include <memory>

namespace kly {

CommandRun SetupDump(CLI::App& Sub) {
    struct Options {
        std::string File;
        bool Pretty = false;
    };
    auto o = std::make_shared<Options>();
    Sub.add_option("FILE", o->File, "Layout file (.kly)")->required();
    Sub.add_flag("--pretty", o->Pretty, "One key per line");
    return [o] {
        quimbel::TKeyCollection keys;
        TLayoutReadResult result = ReadLayoutFile(o->File, keys);
        if (!result.Ok)
            throw EKlyError(vcl::FmtLoadStr(
                consts::SLayoutError,
                {o->File, static_cast<long long>(result.ErrorOffset), result.ErrorMessage}));
        WriteStdout(LayoutToJson(keys, o->Pretty));
        return ExitOk;
    };
}

} // namespace kly
