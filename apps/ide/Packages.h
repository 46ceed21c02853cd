#pragma once
// The design packages the IDE loads: shared libraries whose registration entry puts components
// on the palette and property editors into the registry of the design-time framework.

#include "rtl/SysUtils.h"

#include <vector>

namespace quimbel::ide {

// The symbol under which a design package exports its registration procedure, void(void).
inline constexpr const char* RegistrationEntry = "Compreg_Register";

struct TDesignPackage {
    vcl::AnsiString FileName;
    void* Handle = nullptr;
    uintptr_t Module = 0; // the address it is loaded at
};

class TPackageManager {
public:
    TPackageManager() = default;
    ~TPackageManager();
    TPackageManager(const TPackageManager&) = delete;
    TPackageManager& operator=(const TPackageManager&) = delete;

    // Loads a package and calls its registration entry once. A package that cannot be loaded,
    // has no registration entry or fails to register (a class another package registered
    // already) raises vcl::Exception "Package %s could not be loaded: <reason>" and leaves
    // nothing of it behind.
    void Load(const vcl::AnsiString& FileName);
    // Unloads every package, the last loaded first, taking back what it registered.
    void UnloadAll();
    const std::vector<TDesignPackage>& Packages() const { return packages_; }
    // One paragraph per package for Help > About packages: file, description, version, units.
    vcl::AnsiString Describe() const;

private:
    std::vector<TDesignPackage> packages_;
};

// The design packages beside the program: the files lib*Design.so in its folder, by name.
std::vector<vcl::AnsiString> PackagesBesideProgram();

} // namespace quimbel::ide
