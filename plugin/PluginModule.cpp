#include "plugin/PluginModule.h"

namespace plugin {

namespace {
HINSTANCE g_instance = nullptr;
volatile LONG g_objects = 0;
volatile LONG g_serverLocks = 0;
}  // namespace

LONG DecrementDownToZero(volatile LONG& count) {
    for (LONG seen = count; seen > 0;) {
        const LONG before = InterlockedCompareExchange(&count, seen - 1, seen);
        if (before == seen) return seen - 1;
        seen = before;
    }
    return -1;
}

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE ModuleInstance() { return g_instance; }
void LockModule() { InterlockedIncrement(&g_objects); }
void UnlockModule() { DecrementDownToZero(g_objects); }
void LockServer() { InterlockedIncrement(&g_serverLocks); }
void UnlockServer() { DecrementDownToZero(g_serverLocks); }
LONG ModuleLockCount() { return g_objects + g_serverLocks; }

std::string ModulePath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(g_instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(path, length);
}

}  // namespace plugin
