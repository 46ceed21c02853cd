#pragma once
// Unit Compreg: puts the package's components on the IDE's palette page "Touch Screen", binds
// the layout designer to the Keys property of TKeyboard and the keyboard's verbs to its class. A
// host calls the registration once, after loading the package, through the exported procedure
// Compreg_Register (the name under which the platform exports a unit's registration procedure, see
// rtl/Packages.h).

namespace quimbel {

void Register();

} // namespace quimbel

extern "C" __attribute__((visibility("default"))) void Compreg_Register();
