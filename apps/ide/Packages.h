#pragma once
// The design packages the IDE loads: package libraries whose units' registration procedures put
// components on the palette and property editors into the registry of the design-time framework.

#include "rtl/Resources.h"

#include <vector>

namespace quimbel::ide {

struct TDesignPackage {
    vcl::AnsiString FileName; // as the user gave it
    vcl::HMODULE Module = 0;
};

class TPackageManager {
public:
    TPackageManager();
    ~TPackageManager();
    TPackageManager(const TPackageManager&) = delete;
    TPackageManager& operator=(const TPackageManager&) = delete;

    // Loads a package with the platform's package loader (which registers its resources) and
    // calls its units' registration procedures once. A package that cannot be loaded, has no
    // registration procedure or fails to register (a class another package registered already)
    // raises vcl::Exception "Package %s could not be loaded: <reason>" and leaves nothing of it
    // behind. Loading a package that is loaded already does nothing.
    void Load(const vcl::AnsiString& FileName);
    // Unloads every package, the last loaded first, taking back what it registered.
    void UnloadAll();
    const std::vector<TDesignPackage>& Packages() const { return packages_; }
    // One paragraph per package for Help > About packages: file, description, version, units.
    vcl::AnsiString Describe() const;

private:
    std::vector<TDesignPackage> packages_;
};

// The folder of the running program, or empty when it cannot be told.
vcl::AnsiString ProgramFolder();
// The design packages beside the program: the files lib*Design.so in its folder, by name.
std::vector<vcl::AnsiString> PackagesBesideProgram();

} // namespace quimbel::ide
