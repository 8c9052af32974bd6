#pragma once
// The plug-in library's module: its instance handle and the counts that decide whether the
// browser may unload it: live objects (buttons and handed-out class-object references) and
// server locks.
#include <windows.h>
#include <string>

namespace plugin {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
// One live object more or less; an unmatched unlock leaves the count at zero.
void LockModule();
void UnlockModule();
// IClassFactory::LockServer: counted apart from the objects, so a caller's unmatched unlock can
// neither go below zero nor take away a reference a live object holds.
void LockServer();
void UnlockServer();
// Takes one from `count` unless it is zero already: the count left, or -1 when there was none.
LONG DecrementDownToZero(volatile LONG& count);
// Objects and server locks together.
LONG ModuleLockCount();
// The library's full path; empty when it does not fit a path buffer.
std::string ModulePath();

}  // namespace plugin
