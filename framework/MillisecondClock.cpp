#include "framework/MillisecondClock.h"

#include <windows.h>

double MillisecondsNow() {
    LARGE_INTEGER frequency, counter;
    if (!::QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0 || !::QueryPerformanceCounter(&counter))
        return static_cast<double>(::GetTickCount64());
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}
