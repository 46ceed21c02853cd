#include "Packages.h"

#include "RTLConsts.h"
#include "TypInfo.h"

#include <dlfcn.h>
#include <link.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace vcl {

namespace {

struct Loaded {
    void* Handle;
    // Loaded before LoadPackage (a library the program links): unloading it leaves its classes
    // and resources, which stay in use.
    bool Resident;
};

// The packages loaded by LoadPackage.
std::map<HMODULE, Loaded>& loaded() {
    static std::map<HMODULE, Loaded> map;
    return map;
}

std::vector<TModuleUnloadProc>& unloadProcs() {
    static std::vector<TModuleUnloadProc> procs;
    return procs;
}

void* handleOf(HMODULE module) {
    auto it = loaded().find(module);
    return it == loaded().end() ? nullptr : it->second.Handle;
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

namespace {

// True when FileName is an ELF library cut short: the loader maps the segments it declares and
// touching a page beyond the end of the file kills the process (SIGBUS), so such a file never
// reaches it. Its section table lies at the end of the file, so any cut shows there.
bool truncatedLibrary(const AnsiString& FileName) {
    const int fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    ElfW(Ehdr) header;
    bool cut = false;
    if (::fstat(fd, &st) == 0 && ::pread(fd, &header, sizeof header, 0) == sizeof header &&
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
        header.e_ident[EI_CLASS] == (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32)) {
        const auto size = static_cast<uint64_t>(st.st_size);
        auto beyond = [size](uint64_t Offset, uint64_t Length) {
            return Offset > size || Length > size - Offset;
        };
        cut = beyond(header.e_phoff, uint64_t{header.e_phnum} * header.e_phentsize) ||
              beyond(header.e_shoff, uint64_t{header.e_shnum} * header.e_shentsize);
        std::vector<ElfW(Phdr)> segments(cut ? 0 : header.e_phnum);
        const auto bytes = static_cast<ssize_t>(segments.size() * sizeof(ElfW(Phdr)));
        if (!cut && header.e_phentsize == sizeof(ElfW(Phdr)) &&
            ::pread(fd, segments.data(), static_cast<size_t>(bytes),
                    static_cast<off_t>(header.e_phoff)) == bytes)
            for (const ElfW(Phdr) & p : segments)
                cut = cut || (p.p_type == PT_LOAD && beyond(p.p_offset, p.p_filesz));
    }
    ::close(fd);
    return cut;
}

} // namespace

HMODULE LoadPackage(const AnsiString& FileName) {
    if (truncatedLibrary(FileName))
        throw EPackageError(FmtLoadStr(rtlconsts::SLoadPackageError,
                                       {FileName, LoadResString(rtlconsts::SFileEndsEarly)}));
    void* resident = dlopen(FileName.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (resident) dlclose(resident);
    void* handle = dlopen(FileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* err = dlerror();
        throw EPackageError(
            FmtLoadStr(rtlconsts::SLoadPackageError, {FileName, AnsiString(err ? err : "")}));
    }
    link_map* map = nullptr;
    dlinfo(handle, RTLD_DI_LINKMAP, &map);
    const HMODULE module = FindHInstance(map->l_ld);
    if (handleOf(module)) { // loaded already: one registration, one reference
        dlclose(handle);
        return module;
    }
    loaded()[module] = Loaded{handle, resident != nullptr};
    // A package describes its resources in a table; a library the program links may have
    // registered its own already.
    if (void* table = GetProcAddress(module, ModuleResourceTableSymbol))
        RegisterModuleResources(module, static_cast<const TResourceEntry* const*>(table));
    if (!ResourceExists(module, "RCDATA", PackageInfoResource)) {
        UnRegisterModuleResources(module);
        loaded().erase(module);
        dlclose(handle);
        throw EPackageError(FmtLoadStr(rtlconsts::SNotAPackage, {FileName}));
    }
    return module;
}

void RegisterPackage(HMODULE Module) {
    for (const TPackageUnit& unit : GetPackageInfo(Module).Contains)
        if (void* proc = GetProcAddress(Module, UnitRegisterProcName(unit.Name)))
            reinterpret_cast<void (*)()>(proc)();
}

void UnloadPackage(HMODULE Module) {
    auto it = loaded().find(Module);
    if (it == loaded().end()) return;
    const Loaded package = it->second;
    loaded().erase(it);
    if (!package.Resident) {
        // A copy: an unload procedure may remove itself.
        std::vector<TModuleUnloadProc> procs = unloadProcs();
        for (auto proc = procs.rbegin(); proc != procs.rend(); ++proc)
            (*proc)(Module);
        UnRegisterModuleClasses(Module);
        UnRegisterModuleResources(Module);
    }
    dlclose(package.Handle);
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
