// dfmconv [--codepage N] text2bin IN OUT | dfmconv [--codepage N] bin2text IN OUT
// Strings are bytes of the active ANSI code page (from the locale, or --codepage): #nnn above 255
// in a text form and wide or UTF-8 strings in a binary form are converted to it.
// Exit status: 0 on success, 1 with one line on stderr when the conversion fails, 2 for bad usage.

#include "ExitStatus.h"
#include "rtl/CodePage.h"
#include "rtl/FormStreams.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

const char kUsage[] = "usage: dfmconv [--codepage N] text2bin IN OUT\n"
                      "       dfmconv [--codepage N] bin2text IN OUT\n"
                      "Converts a form between its text (.dfm) and its binary (TPF0) form.\n"
                      "--codepage N: the ANSI code page of the strings, 874 or 1250-1258\n"
                      "(default: from the locale).\n";

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return quimbel::ExitOk;
    }
    if (argc >= 3 && std::strcmp(argv[1], "--codepage") == 0) {
        try {
            vcl::SetAnsiCodePageFromArgument(argv[2]);
        } catch (const vcl::EConvertError& e) {
            std::fprintf(stderr, "dfmconv: %s\n", e.Message().c_str());
            return quimbel::ExitUsage;
        }
        argc -= 2;
        argv += 2;
    }
    if (argc != 4 ||
        (std::strcmp(argv[1], "text2bin") != 0 && std::strcmp(argv[1], "bin2text") != 0)) {
        std::fputs(kUsage, stderr);
        return quimbel::ExitUsage;
    }
    const bool toBinary = std::strcmp(argv[1], "text2bin") == 0;
    const std::string in = argv[2];
    const std::string out = argv[3];
    try {
        vcl::TMemoryStream input, output;
        input.LoadFromFile(in);
        if (toBinary)
            vcl::ObjectTextToBinary(&input, &output);
        else
            vcl::ObjectBinaryToText(&input, &output);
        // The output file is written only once the conversion succeeded.
        output.SaveToFile(out);
    } catch (const vcl::Exception& e) {
        std::fprintf(stderr, "dfmconv: %s: %s\n", in.c_str(), e.Message().c_str());
        return quimbel::ExitFailed;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dfmconv: %s: %s\n", in.c_str(), e.what());
        return quimbel::ExitFailed;
    }
    return quimbel::ExitOk;
}
