#pragma once
// The common dialogs on Qt: file, font and message dialogs with the classic options, run
// modally in nested event loops. The structures carry exactly what the classic dialog
// components hold, so the components only copy their properties in and out.

#include <cstdint>
#include <vector>

#include "rtl/SysUtils.h"

class QWidget;

namespace vcl::qt {

struct FileDialogRequest {
    bool Save = false;
    vcl::AnsiString Title;      // empty: "Open" or "Save As"
    vcl::AnsiString InitialDir; // a folder that does not exist gives the home folder
    vcl::AnsiString DefaultExt; // appended to a name typed without extension
    vcl::AnsiString Filter;     // classic "Description|Pattern|..."
    int FilterIndex = 1;        // 1-based, as classic
    vcl::AnsiString FileName;   // preselected
    bool OverwritePrompt = false;
    bool FileMustExist = false;
    bool PathMustExist = false;
    bool AllowMultiSelect = false;
};

struct FileDialogResult {
    bool Accepted = false;
    // File names travel in the file system's encoding: the run-time library hands them to the
    // operating system unchanged, so every name the dialog can pick can also be opened.
    vcl::AnsiString FileName;
    std::vector<vcl::AnsiString> Files;
    int FilterIndex = 1;
};

FileDialogResult RunFileDialog(const FileDialogRequest& Request, QWidget* Parent = nullptr);

struct FontDialogRequest {
    vcl::AnsiString Name;
    int Size = 8;
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    std::uint32_t Color = 0; // classic TColor
    bool Effects = true;     // underline, strike-out and colour can be chosen
    int MinFontSize = 0;     // 0: no limit
    int MaxFontSize = 0;
};

struct FontDialogResult {
    bool Accepted = false;
    vcl::AnsiString Name; // the requested name is kept when the user kept its substitute
    int Size = 8;
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    std::uint32_t Color = 0;
};

FontDialogResult RunFontDialog(const FontDialogRequest& Request, QWidget* Parent = nullptr);

// Classic message dialog kinds and buttons (ordinal values of TMsgDlgType and TMsgDlgBtn).
enum MsgDlgKind { mkWarning, mkError, mkInformation, mkConfirmation, mkCustom };
enum MsgDlgButton {
    mbtYes,
    mbtNo,
    mbtOK,
    mbtCancel,
    mbtAbort,
    mbtRetry,
    mbtIgnore,
    mbtAll,
    mbtNoToAll,
    mbtYesToAll,
    mbtHelp
};

// Shows the message with the buttons of the bit set (bit n = MsgDlgButton n) and returns the
// modal result of the button chosen (mrYes 6, mrNo 7, ...). Escape and the close box give the
// result of the Cancel button, else No, else OK: leaving a prompt never confirms it.
int RunMessageDialog(const vcl::AnsiString& Message, int Kind, unsigned Buttons,
                     QWidget* Parent = nullptr);

// The desktop's standard beep.
void SystemBeep();

} // namespace vcl::qt
