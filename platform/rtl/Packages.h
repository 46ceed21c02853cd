#pragma once
// Packages: shared libraries that a host loads at run time (a design package in the IDE host).
// A package runs no code of its own when it is loaded or unloaded. It describes itself with data
// that the host reads: its resource table, exported as ModuleResourceTable, and among its
// resources its package information (RCDATA PACKAGEINFO). Each unit that registers components
// exports its registration procedure as extern "C" void <Unit>_Register(), which the host calls
// once after loading (RegisterPackage). Unloading runs the module unload procedures, so that the
// registries of the host (classes, palette, property editors, resources) keep nothing that points
// into the unloaded library.
//
// Package information, little-endian:
//   uint32 Flags (pfDesignOnly, pfRunOnly)
//   uint32 number of required packages, then each name, NUL-terminated
//   uint32 number of contained units, then each: uint8 unit flags (ufPackageUnit, ...), name, NUL

#include "Resources.h"

#include <vector>

namespace vcl {

VCL_EXCEPTION(EPackageError, Exception)

inline constexpr const char* ModuleResourceTableSymbol = "ModuleResourceTable";
inline constexpr const char* PackageInfoResource = "PACKAGEINFO";

enum : uint32_t { pfDesignOnly = 0x2, pfRunOnly = 0x4 };
enum : uint8_t { ufMainUnit = 0x1, ufPackageUnit = 0x2, ufWeakUnit = 0x4 };

struct TPackageUnit {
    AnsiString Name;
    uint8_t Flags = 0;
};

struct TPackageInfo {
    uint32_t Flags = 0;
    std::vector<AnsiString> Requires; // in the order the package lists them
    std::vector<TPackageUnit> Contains;
};

// Loads a package (dlopen) and registers its resource table. A library that registers its
// resources itself when loaded (a runtime package that programs also link) is a package too.
// Raises EPackageError with the loader's message when the library cannot be loaded, and when it
// has no package information. Loading a package that is loaded already returns its module.
HMODULE LoadPackage(const AnsiString& FileName);
// Calls the registration procedure of every contained unit that exports one, in unit order.
void RegisterPackage(HMODULE Module);
// Runs the module unload procedures (the most recently added first), unregisters the classes
// and resources of the module and unloads it. A library that was loaded before LoadPackage (the
// program links it) stays loaded and keeps its registrations.
void UnloadPackage(HMODULE Module);

// A symbol exported by the module itself (not by a library it depends on), or null.
void* GetProcAddress(HMODULE Module, const AnsiString& Name);
// Reads the PACKAGEINFO resource of a loaded package; raises EPackageError when it is missing
// or malformed.
TPackageInfo GetPackageInfo(HMODULE Module);
// The name under which a unit exports its registration procedure: "<Unit>_Register".
AnsiString UnitRegisterProcName(const AnsiString& UnitName);

using TModuleUnloadProc = void (*)(HMODULE Module);
void AddModuleUnloadProc(TModuleUnloadProc Proc);
void RemoveModuleUnloadProc(TModuleUnloadProc Proc);

} // namespace vcl
