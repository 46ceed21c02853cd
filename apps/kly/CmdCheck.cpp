#include "Commands.h"
#include "KlyConsts.h"
#include "LayoutFile.h"

#include <iostream>
#include <memory>
#include <vector>

namespace kly {

namespace {

// Values that a layout stream can hold but that lie outside the declared ranges of the key
// model; the library reads them, so they are worth a warning rather than a failure.
void warnRanges(const std::string& File, const quimbel::TKeyCollection& Keys,
                const TLayoutReadResult& Result) {
    std::vector<vcl::AnsiString> warnings;
    for (int i = 0; i < Keys.GetCount(); ++i) {
        const quimbel::TKey* key = Keys.GetItem(i);
        if (key->KeyType > quimbel::ktFunction)
            warnings.push_back(vcl::FmtLoadStr(consts::SWarnType, {File, i, int(key->KeyType)}));
        if (key->Width < 1 || key->Width > 80)
            warnings.push_back(vcl::FmtLoadStr(consts::SWarnWidth, {File, i, int(key->Width)}));
        if (key->Height < 1 || key->Height > 80)
            warnings.push_back(vcl::FmtLoadStr(consts::SWarnHeight, {File, i, int(key->Height)}));
    }
    if (Result.TrailingBytes > 0)
        warnings.push_back(vcl::FmtLoadStr(consts::SWarnTrailing,
                                           {File, static_cast<long long>(Result.TrailingBytes)}));
    if (warnings.empty()) return;
    std::cout.flush();
    for (const auto& w : warnings)
        std::cerr << w << '\n';
    std::cerr.flush();
}

} // namespace

CommandRun SetupCheck(CLI::App& Sub) {
    auto files = std::make_shared<std::vector<std::string>>();
    Sub.add_option("FILE", *files, "Layout files (.kly)")->required();
    return [files] {
        bool failed = false;
        for (const std::string& file : *files) {
            vcl::AnsiString line;
            try {
                quimbel::TKeyCollection keys;
                TLayoutReadResult result = ReadLayoutFile(file, keys);
                if (result.Ok) {
                    warnRanges(file, keys, result);
                    line = keys.GetCount() == 1
                               ? vcl::FmtLoadStr(consts::SCheckOkOneKey, {file})
                               : vcl::FmtLoadStr(consts::SCheckOk, {file, keys.GetCount()});
                } else {
                    failed = true;
                    line = vcl::FmtLoadStr(
                        consts::SLayoutError,
                        {file, static_cast<long long>(result.ErrorOffset), result.ErrorMessage});
                }
            } catch (const vcl::Exception& e) {
                failed = true;
                line = vcl::FmtLoadStr(consts::SFileError, {file, e.Message()});
            }
            WriteStdout(line + "\n");
        }
        return failed ? ExitFailed : ExitOk;
    };
}

} // namespace kly
