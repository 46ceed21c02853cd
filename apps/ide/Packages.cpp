#include "Packages.h"

#include "IdeConsts.h"

#include "designide/DesignIntf.h"
#include "rtl/CodePage.h"
#include "rtl/Packages.h"

#include <algorithm>
#include <filesystem>

namespace quimbel::ide {

using vcl::AnsiString;

namespace {

[[noreturn]] void fail(const AnsiString& FileName, const AnsiString& Reason) {
    throw vcl::Exception(vcl::FmtLoadStr(consts::SPackageLoadFailed, {FileName, Reason}));
}

uint32_t u32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The file version of the package's version information ("1.0.0.0"), or empty.
AnsiString versionOf(vcl::HMODULE Module) {
    if (!vcl::ResourceExists(Module, "VERSION", "1")) return AnsiString();
    const vcl::TResourceData v = vcl::FindResourceData(Module, "VERSION", "1");
    constexpr uint32_t FixedInfoSignature = 0xFEEF04BD;
    for (size_t i = 0; i + 16 <= v.Size; i += 4)
        if (u32(v.Data + i) == FixedInfoSignature) {
            const uint32_t ms = u32(v.Data + i + 8), ls = u32(v.Data + i + 12);
            return vcl::Format("%u.%u.%u.%u", {ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF});
        }
    return AnsiString();
}

// The package's description, NUL-terminated UTF-16LE text, or empty.
AnsiString descriptionOf(vcl::HMODULE Module) {
    if (!vcl::ResourceExists(Module, "RCDATA", "DESCRIPTION")) return AnsiString();
    const vcl::TResourceData d = vcl::FindResourceData(Module, "RCDATA", "DESCRIPTION");
    std::u16string text;
    for (size_t i = 0; i + 1 < d.Size && (d.Data[i] || d.Data[i + 1]); i += 2)
        text += static_cast<char16_t>(d.Data[i] | d.Data[i + 1] << 8);
    return vcl::Utf16ToAnsi(text);
}

bool hasRegistrationProc(vcl::HMODULE Module) {
    for (const vcl::TPackageUnit& u : vcl::GetPackageInfo(Module).Contains)
        if (vcl::GetProcAddress(Module, vcl::UnitRegisterProcName(u.Name))) return true;
    return false;
}

} // namespace

TPackageManager::TPackageManager() {
    // Unloading a package takes back its palette entries and property editors; added once.
    vcl::RemoveModuleUnloadProc(&designide::UnRegisterModuleDesignItems);
    vcl::AddModuleUnloadProc(&designide::UnRegisterModuleDesignItems);
}

TPackageManager::~TPackageManager() {
    UnloadAll();
}

void TPackageManager::Load(const AnsiString& FileName) {
    // A relative name means a file of the working folder, as on the command line, never a
    // library the dynamic loader would search for.
    if (!vcl::FileExists(FileName)) fail(FileName, vcl::LoadResString(consts::SNoSuchFile));
    const AnsiString path = std::filesystem::absolute(FileName.c_str()).string();
    vcl::HMODULE module = 0;
    try {
        module = vcl::LoadPackage(path);
    } catch (const vcl::Exception& e) {
        fail(FileName, e.Message());
    }
    for (const TDesignPackage& p : packages_)
        if (p.Module == module) return;
    try {
        if (!hasRegistrationProc(module))
            throw vcl::Exception(vcl::FmtLoadStr(consts::SNoRegistrationEntry,
                                                 {vcl::UnitRegisterProcName("<Unit>")}));
        vcl::RegisterPackage(module);
    } catch (const vcl::Exception& e) {
        vcl::UnloadPackage(module);
        fail(FileName, e.Message());
    }
    packages_.push_back({FileName, module});
}

void TPackageManager::UnloadAll() {
    while (!packages_.empty()) {
        vcl::UnloadPackage(packages_.back().Module);
        packages_.pop_back();
    }
}

AnsiString TPackageManager::Describe() const {
    if (packages_.empty()) return vcl::LoadResString(consts::SNoPackages);
    AnsiString text;
    for (const TDesignPackage& p : packages_) {
        AnsiString units;
        for (const vcl::TPackageUnit& u : vcl::GetPackageInfo(p.Module).Contains)
            units += (units.empty() ? "" : ", ") + u.Name;
        if (!text.empty()) text += "\n\n";
        text += vcl::FmtLoadStr(consts::SPackageLine,
                                {p.FileName, descriptionOf(p.Module), versionOf(p.Module), units});
    }
    return text;
}

AnsiString ProgramFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? AnsiString() : exe.parent_path().string();
}

std::vector<AnsiString> PackagesBesideProgram() {
    namespace fs = std::filesystem;
    std::vector<AnsiString> found;
    std::error_code error;
    const AnsiString folder = ProgramFolder();
    if (folder.empty()) return found;
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(folder), error)) {
        const std::string name = e.path().filename().string();
        const std::string suffix = "Design.so";
        if (name.rfind("lib", 0) == 0 && name.size() > suffix.size() + 3 &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            found.push_back(e.path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace quimbel::ide
