#include "Packages.h"

#include "IdeConsts.h"

#include "designide/DesignIntf.h"
#include "rtl/Packages.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>

namespace quimbel::ide {

using vcl::AnsiString;

namespace {

[[noreturn]] void fail(const AnsiString& FileName, const AnsiString& Reason) {
    throw vcl::Exception(vcl::FmtLoadStr(consts::SPackageLoadFailed, {FileName, Reason}));
}

void unload(const TDesignPackage& Package) {
    designide::UnRegisterModuleDesignItems(Package.Module);
    vcl::UnRegisterModuleResources(Package.Module);
    dlclose(Package.Handle);
}

} // namespace

TPackageManager::~TPackageManager() {
    UnloadAll();
}

void TPackageManager::Load(const AnsiString& FileName) {
    dlerror();
    void* handle = dlopen(FileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) fail(FileName, dlerror());
    for (const TDesignPackage& p : packages_)
        if (p.Handle == handle) {
            dlclose(handle); // already loaded: registered once
            return;
        }
    auto entry = reinterpret_cast<void (*)()>(dlsym(handle, RegistrationEntry));
    TDesignPackage package{FileName, handle,
                           designide::ModuleOfAddress(reinterpret_cast<void*>(entry))};
    if (!entry) {
        dlclose(handle);
        fail(FileName, vcl::FmtLoadStr(consts::SNoRegistrationEntry, {RegistrationEntry}));
    }
    // A package's resources (its forms among them) are constant data listed in its table.
    if (void* table = dlsym(handle, vcl::ModuleResourceTableSymbol))
        vcl::RegisterModuleResources(package.Module,
                                     static_cast<const vcl::TResourceEntry* const*>(table));
    try {
        entry();
    } catch (const vcl::Exception& e) {
        unload(package);
        fail(FileName, e.Message());
    }
    packages_.push_back(package);
}

void TPackageManager::UnloadAll() {
    while (!packages_.empty()) {
        unload(packages_.back());
        packages_.pop_back();
    }
}

AnsiString TPackageManager::Describe() const {
    if (packages_.empty()) return vcl::LoadResString(consts::SNoPackages);
    AnsiString text;
    for (const TDesignPackage& p : packages_) {
        if (!text.empty()) text += "\n\n";
        text += p.FileName;
    }
    return text;
}

std::vector<AnsiString> PackagesBesideProgram() {
    namespace fs = std::filesystem;
    std::vector<AnsiString> found;
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    if (error) return found;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, error)) {
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
