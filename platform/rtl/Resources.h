#pragma once
// Named resources embedded into programs and packages at build time (quimbel_add_resources in
// CMake), looked up by type and name, case-insensitively. Form resources use the type RCDATA and
// the class name in capitals (TKEYPROPERTIESFORM). Every resource carries a language (a Windows
// language identifier, 0 for neutral) and belongs to the module whose image holds its bytes, so
// that a host can read a package's own resources and drop them when it unloads the package.

#include "SysUtils.h"

#include <cstddef>
#include <cstdint>

namespace vcl {

using LANGID = uint16_t;
inline constexpr LANGID LANG_NEUTRAL = 0;
// A loaded module (program or shared library), identified by the address it is loaded at; 0
// stands for memory that belongs to no module, such as the heap.
using HMODULE = uintptr_t;

struct TResourceData {
    const uint8_t* Data = nullptr;
    size_t Size = 0;
    LANGID Language = LANG_NEUTRAL;
    HMODULE Module = 0;
};

// A resource as a package describes it in its resource table: plain constant data, so that the
// package runs no code when it is loaded. The table is an array of pointers ending with null.
struct TResourceEntry {
    const char* Type;
    const char* Name;
    LANGID Language;
    const uint8_t* Data;
    size_t Size;
};

// Registers a resource of the module that holds Data; called by the generated code of
// quimbel_add_resources. The data must stay valid while its module is loaded; registering the
// same type, name and language of the same module again replaces the entry.
void RegisterResource(const char* Type, const char* Name, const uint8_t* Data, size_t Size,
                      LANGID Language = LANG_NEUTRAL);
// Registers the resources of a package's table as the resources of Module, and drops them again.
void RegisterModuleResources(HMODULE Module, const TResourceEntry* const* Table);
void UnRegisterModuleResources(HMODULE Module);

// Looks a resource up in every module, the most recently registered first; raises EResNotFound
// ("Resource %s not found") when there is none.
TResourceData FindResourceData(const AnsiString& Type, const AnsiString& Name);
// Looks a resource up among the resources of one module only.
TResourceData FindResourceData(HMODULE Module, const AnsiString& Type, const AnsiString& Name);
bool ResourceExists(const AnsiString& Type, const AnsiString& Name);
bool ResourceExists(HMODULE Module, const AnsiString& Type, const AnsiString& Name);

// The module whose image holds Address (code or static data), or 0.
HMODULE FindHInstance(const void* Address);

} // namespace vcl
