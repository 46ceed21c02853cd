#include "Packages.h"

#include "RTLConsts.h"
#include "TypInfo.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace vcl {

namespace {

// The dlopen handles of the packages loaded by LoadPackage.
std::map<HMODULE, void*>& handles() {
    static std::map<HMODULE, void*> map;
    return map;
}

std::vector<TModuleUnloadProc>& unloadProcs() {
    static std::vector<TModuleUnloadProc> procs;
    return procs;
}

void* handleOf(HMODULE module) {
    auto it = handles().find(module);
    return it == handles().end() ? nullptr : it->second;
}

AnsiString moduleName(HMODULE module) {
    Dl_info info;
    if (module && dladdr(reinterpret_cast<const void*>(module), &info) && info.dli_fname)
        return info.dli_fname;
    return IntToStr(static_cast<long long>(module));
}

// Reads the package information format documented in Packages.h.
class InfoReader {
public:
    InfoReader(const TResourceData& res, HMODULE module)
        : p_(res.Data), end_(res.Data + res.Size), module_(module) {}

    uint32_t u32() {
        need(4);
        uint32_t v =
            uint32_t(p_[0]) | uint32_t(p_[1]) << 8 | uint32_t(p_[2]) << 16 | uint32_t(p_[3]) << 24;
        p_ += 4;
        return v;
    }
    uint8_t u8() {
        need(1);
        return *p_++;
    }
    AnsiString name() {
        const uint8_t* nul = std::find(p_, end_, 0);
        need(nul - p_ + 1);
        AnsiString s(reinterpret_cast<const char*>(p_), nul - p_);
        p_ = nul + 1;
        return s;
    }
    // A count cannot exceed the bytes left, since every entry takes one at least.
    uint32_t count() {
        uint32_t n = u32();
        need(n);
        return n;
    }
    void finish() const {
        if (p_ != end_) fail();
    }

private:
    void need(ptrdiff_t n) const {
        if (n > end_ - p_) fail();
    }
    [[noreturn]] void fail() const {
        throw EPackageError(FmtLoadStr(rtlconsts::SInvalidPackageInfo, {moduleName(module_)}));
    }
    const uint8_t* p_;
    const uint8_t* end_;
    HMODULE module_;
};

} // namespace

void* GetProcAddress(HMODULE Module, const AnsiString& Name) {
    void* handle = handleOf(Module);
    if (!handle) return nullptr;
    // dlsym also searches the libraries the package depends on; only the package's own counts.
    void* sym = dlsym(handle, Name.c_str());
    return sym && FindHInstance(sym) == Module ? sym : nullptr;
}

HMODULE LoadPackage(const AnsiString& FileName) {
    void* handle = dlopen(FileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* err = dlerror();
        throw EPackageError(
            FmtLoadStr(rtlconsts::SLoadPackageError, {FileName, AnsiString(err ? err : "")}));
    }
    void* table = dlsym(handle, ModuleResourceTableSymbol);
    HMODULE module = FindHInstance(table);
    if (!table || handleOf(module)) {
        // No table of its own, or a package that is loaded already: keep one registration.
        dlclose(handle);
        if (table && module) return module;
        throw EPackageError(FmtLoadStr(rtlconsts::SNotAPackage, {FileName}));
    }
    handles()[module] = handle;
    RegisterModuleResources(module, static_cast<const TResourceEntry* const*>(table));
    return module;
}

void RegisterPackage(HMODULE Module) {
    for (const TPackageUnit& unit : GetPackageInfo(Module).Contains)
        if (void* proc = GetProcAddress(Module, UnitRegisterProcName(unit.Name)))
            reinterpret_cast<void (*)()>(proc)();
}

void UnloadPackage(HMODULE Module) {
    void* handle = handleOf(Module);
    if (!handle) return;
    // A copy: an unload procedure may remove itself.
    std::vector<TModuleUnloadProc> procs = unloadProcs();
    for (auto it = procs.rbegin(); it != procs.rend(); ++it)
        (*it)(Module);
    UnRegisterModuleClasses(Module);
    UnRegisterModuleResources(Module);
    handles().erase(Module);
    dlclose(handle);
}

TPackageInfo GetPackageInfo(HMODULE Module) {
    if (!ResourceExists(Module, "RCDATA", PackageInfoResource))
        throw EPackageError(FmtLoadStr(rtlconsts::SInvalidPackageInfo, {moduleName(Module)}));
    InfoReader in(FindResourceData(Module, "RCDATA", PackageInfoResource), Module);
    TPackageInfo info;
    info.Flags = in.u32();
    for (uint32_t n = in.count(); n > 0; --n)
        info.Requires.push_back(in.name());
    for (uint32_t n = in.count(); n > 0; --n) {
        TPackageUnit unit;
        unit.Flags = in.u8();
        unit.Name = in.name();
        info.Contains.push_back(std::move(unit));
    }
    in.finish();
    return info;
}

AnsiString UnitRegisterProcName(const AnsiString& UnitName) {
    return UnitName + "_Register";
}

void AddModuleUnloadProc(TModuleUnloadProc Proc) {
    unloadProcs().push_back(Proc);
}

void RemoveModuleUnloadProc(TModuleUnloadProc Proc) {
    auto& procs = unloadProcs();
    procs.erase(std::remove(procs.begin(), procs.end(), Proc), procs.end());
}

} // namespace vcl
