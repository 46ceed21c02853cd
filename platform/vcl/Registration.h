#pragma once
// The classes of the library that form streams may name.

namespace vcl {

// Registers every class of the library with the class registry, so that form streams can create
// them by name. Idempotent; it runs when the program starts.
void RegisterVclClasses();

} // namespace vcl
