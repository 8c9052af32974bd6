#include "core/OsVersion.h"

#include <windows.h>

unsigned GetWindowsVersionClass() {
    OSVERSIONINFOA info;
    bool ok = false;
    for (int attempt = 0; attempt < 2 && !ok; ++attempt) {
        ZeroMemory(&info, sizeof(info));
        info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
        ok = GetVersionExA(&info) != FALSE;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    }
    if (!ok) return 0;
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 0;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion > 0)) return 4;
        return 2;
    case VER_PLATFORM_WIN32_NT:
        if (info.dwMajorVersion <= 4) return 3;
        if (info.dwMajorVersion == 5) return 5;
        return 0xFFFFFFFFu;
    default:
        return 0xFFFFFFFFu;
    }
}
