// kly: builds, prints and checks Quimbel layout files.

#include "Commands.h"
#include "KlyConsts.h"

#include "rtl/CodePage.h"

#include <iostream>
#include <vector>

namespace kly {

void WriteStdout(const std::string& Text) {
    std::cout.write(Text.data(), static_cast<std::streamsize>(Text.size()));
    std::cout.flush();
    if (!std::cout) throw EKlyError(vcl::LoadResString(consts::SStdoutError));
}

} // namespace kly

int main(int argc, char** argv) {
    CLI::App app{"kly: builds, prints and checks Quimbel keyboard layout files (.kly)", "kly"};
    app.require_subcommand(1);
    app.fallthrough();
    std::string codePage;
    const CLI::Option* codePageOption = app.add_option(
        kly::kCodePageOption, codePage,
        "ANSI code page of the layout's strings: 874 or 1250-1258 (default: from the "
        "locale; build: the JSON's \"codepage\")");
    std::vector<std::pair<CLI::App*, kly::CommandRun>> commands;
    for (const kly::Command& command : kly::kCommands) {
        CLI::App* sub = app.add_subcommand(command.Name, command.Description);
        commands.emplace_back(sub, command.Setup(*sub));
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e); // --help
        std::cerr << "kly: " << vcl::FmtLoadStr(kly::consts::SUsage, {e.what()}) << std::endl;
        return kly::ExitUsage;
    }

    try {
        if (codePageOption->count()) vcl::SetAnsiCodePageFromArgument(codePage);
    } catch (const vcl::EConvertError& e) {
        std::cerr << "kly: " << vcl::FmtLoadStr(kly::consts::SUsage, {e.Message()}) << std::endl;
        return kly::ExitUsage;
    }

    try {
        for (auto& [sub, run] : commands)
            if (sub->parsed()) return run();
    } catch (const vcl::Exception& e) {
        std::cout.flush();
        std::cerr << "kly: " << e.Message() << std::endl;
        return kly::ExitFailed;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "kly: " << e.what() << std::endl;
        return kly::ExitFailed;
    }
    return kly::ExitUsage;
}
