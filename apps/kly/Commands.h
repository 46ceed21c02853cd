#pragma once
// The commands of kly. Each lives in its own Cmd*.cpp: its Setup function declares the
// command's arguments on its CLI11 subcommand and returns the function that runs it once the
// command line was parsed. A new command is one more file and one more line in kCommands.

#include "ExitStatus.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

namespace kly {

// The option of every command that sets the active ANSI code page (874, 1250-1258); without it the
// page follows the locale.
inline const char* const kCodePageOption = "--codepage";

using quimbel::ExitFailed;
using quimbel::ExitOk;
using quimbel::ExitUsage;

// Runs a command; returns its exit status. Errors may also be raised as vcl::Exception, which
// kly reports on one line of standard error with exit status 1.
using CommandRun = std::function<int()>;

struct Command {
    const char* Name;
    const char* Description;
    CommandRun (*Setup)(CLI::App& Sub);
};

CommandRun SetupDump(CLI::App& Sub);
CommandRun SetupBuild(CLI::App& Sub);
CommandRun SetupCheck(CLI::App& Sub);
CommandRun SetupGeometry(CLI::App& Sub);
CommandRun SetupPress(CLI::App& Sub);
#ifdef KLY_RENDER
CommandRun SetupRender(CLI::App& Sub);
#endif
#ifdef KLY_XKB
CommandRun SetupImportXkb(CLI::App& Sub);
#endif

inline const Command kCommands[] = {
    {"dump", "Print a layout file as JSON", SetupDump},
    {"build", "Build a layout file from its JSON form", SetupBuild},
    {"check", "Check layout files", SetupCheck},
    {"geometry", "Print the button bounds of a layout on a keyboard of a given size",
     SetupGeometry},
    {"press", "Click keys of a layout on a keyboard and print what happens", SetupPress},
#ifdef KLY_RENDER
    {"render", "Draw a layout on a keyboard into a PNG picture", SetupRender},
#endif
#ifdef KLY_XKB
    {"import-xkb", "Make a layout from the system's XKB keymap of a language", SetupImportXkb},
#endif
};

// Writes Text to standard output; raises EKlyError when that fails (a full disk, a closed pipe).
void WriteStdout(const std::string& Text);

} // namespace kly
