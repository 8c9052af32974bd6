#pragma once
// The plug-in library's module: its instance handle and the count of live objects and server
// locks that decides whether the browser may unload it.
#include <windows.h>
#include <string>

namespace plugin {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
void LockModule();
void UnlockModule();
LONG ModuleLockCount();
// The library's full path; empty when it does not fit a path buffer.
std::string ModulePath();

}  // namespace plugin
