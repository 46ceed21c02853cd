#pragma once
// Named resources embedded into the program at build time (quimbel_add_resources in CMake),
// looked up by type and name, case-insensitively. Form resources use the type RCDATA and the
// class name in capitals (TKEYPROPERTIESFORM).

#include "SysUtils.h"

#include <cstddef>
#include <cstdint>

namespace vcl {

struct TResourceData {
    const uint8_t* Data = nullptr;
    size_t Size = 0;
};

// Registers a resource; called by the generated code of quimbel_add_resources. The data must stay
// valid for the life of the program; registering a type and name again replaces the entry.
void RegisterResource(const char* Type, const char* Name, const uint8_t* Data, size_t Size);
// Looks a resource up; raises EResNotFound ("Resource %s not found") when there is none.
TResourceData FindResourceData(const AnsiString& Type, const AnsiString& Name);
bool ResourceExists(const AnsiString& Type, const AnsiString& Name);

} // namespace vcl
