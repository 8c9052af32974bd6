#include "plugin/PluginModule.h"

namespace plugin {

namespace {
HINSTANCE g_instance = nullptr;
volatile LONG g_locks = 0;
}  // namespace

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE ModuleInstance() { return g_instance; }
void LockModule() { InterlockedIncrement(&g_locks); }
void UnlockModule() { InterlockedDecrement(&g_locks); }
LONG ModuleLockCount() { return g_locks; }

std::string ModulePath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(g_instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(path, length);
}

}  // namespace plugin
