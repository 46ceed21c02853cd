#include "Commands.h"
#include "KlyConsts.h"
#include "LayoutJson.h"
#include "XkbConsts.h"
#include "XkbImport.h"

#include "rtl/CodePage.h"
#include "rtl/Streams.h"

#include <iostream>
#include <memory>

namespace kly {

namespace {

// "fr" -> fr.kly, "ch(fr)" -> ch-fr.kly.
std::string defaultFileName(const TXkbImportOptions& Options) {
    return Options.Variant.empty() ? Options.Layout + ".kly"
                                   : Options.Layout + "-" + Options.Variant + ".kly";
}

std::string charList(const std::u32string& Chars) {
    std::string out;
    for (char32_t c : Chars) {
        if (!out.empty()) out += ", ";
        std::string utf8;
        vcl::AppendUtf8(utf8, c);
        out += vcl::Format("\"%s\" (U+%.4X)", {utf8, static_cast<unsigned>(c)});
    }
    return out;
}

} // namespace

CommandRun SetupImportXkb(CLI::App& Sub) {
    struct Options {
        std::string Name;
        std::string Output;
        std::string Geometry;
        bool Json = false;
    };
    auto o = std::make_shared<Options>();
    Sub.add_option("LAYOUT", o->Name,
                   "XKB layout as LAYOUT or LAYOUT(VARIANT), e.g. fr or ch(fr) (see "
                   "/usr/share/X11/xkb/rules/evdev.lst)")
        ->required();
    Sub.add_option("-o,--output", o->Output,
                   "File to write (default: LAYOUT.kly, or with --json standard output)");
    Sub.add_option("--geometry", o->Geometry,
                   "ansi (the us layout's keys) or iso (the de layout's, with the key beside left "
                   "Shift); default: iso when the layout uses that key")
        ->check(CLI::IsMember({"ansi", "iso"}));
    Sub.add_flag("--json", o->Json, "Write the layout in JSON (as kly dump --pretty prints it)");
    // Without --codepage the page is the one that holds the layout's characters.
    const CLI::Option* codePage = Sub.get_parent()->get_option(kCodePageOption);
    return [o, codePage] {
        TXkbImportOptions options;
        if (!ParseXkbLayoutName(o->Name, options.Layout, options.Variant))
            throw EKlyError(vcl::FmtLoadStr(consts::SXkbBadName, {o->Name}));
        options.Geometry = o->Geometry == "ansi"  ? TXkbGeometry::Ansi
                           : o->Geometry == "iso" ? TXkbGeometry::Iso
                                                  : TXkbGeometry::Auto;
        if (codePage->count()) options.CodePage = vcl::GetAnsiCodePage();
        quimbel::TKeyCollection keys;
        const TXkbImport imported = ImportXkb(options, keys);
        if (!imported.LeftOff.empty()) {
            std::cout.flush();
            std::cerr << "kly: "
                      << vcl::FmtLoadStr(consts::SXkbLeftOff,
                                         {XkbLayoutName(options.Layout, options.Variant),
                                          imported.CodePage, charList(imported.LeftOff)})
                      << std::endl;
        }
        if (!o->Json) {
            keys.SaveToFile(o->Output.empty() ? defaultFileName(options) : o->Output);
        } else if (o->Output.empty()) {
            WriteStdout(LayoutToJson(keys, true));
        } else {
            const std::string json = LayoutToJson(keys, true);
            vcl::TFileStream file(o->Output, vcl::fmCreate);
            file.WriteBuffer(json.data(), static_cast<int32_t>(json.size()));
        }
        return ExitOk;
    };
}

} // namespace kly
