#include "core/PerformanceTimer.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

struct TimerState {
    bool probed = false;
    bool hasCounter = false;
    double frequency = 1.0;   // counts per second (1 when the times are seconds already)
    double start = 0;
    double stop = 0;          // 0 while running
    double lastReading = 0;
};

TimerState g_timer;

void Probe() {
    if (g_timer.probed) return;
    g_timer.probed = true;
    LARGE_INTEGER f;
    g_timer.hasCounter = QueryPerformanceFrequency(&f) && f.QuadPart > 0;
    g_timer.frequency = g_timer.hasCounter ? static_cast<double>(f.QuadPart) : 1.0;
}

double ReadClock() {
    if (g_timer.hasCounter) {
        LARGE_INTEGER c;
        QueryPerformanceCounter(&c);
        return static_cast<double>(c.QuadPart);
    }
    return timeGetTime() * 0.001;
}

}  // namespace

void PerformanceTimerUseMillisecondClock(bool useMilliseconds) {
    g_timer = TimerState();
    if (useMilliseconds) {
        g_timer.probed = true;
        g_timer.hasCounter = false;
        g_timer.frequency = 1.0;
    }
}

double PerformanceTimer(int mode) {
    Probe();
    TimerState& t = g_timer;
    const bool alwaysClock = mode == TIMER_START || mode == TIMER_ABSOLUTE;
    double now = (t.stop != 0 && !alwaysClock) ? t.stop : ReadClock();

    switch (mode) {
    case TIMER_RESET:
        t.start = now;
        t.lastReading = now;
        return 0;
    case TIMER_START:
        if (t.stop != 0) t.start += now - t.stop;
        t.stop = 0;
        t.lastReading = now;
        return 0;
    case TIMER_STOP:
        t.stop = now;
        if (t.hasCounter) t.lastReading = now;
        return 0;
    case TIMER_ADVANCE:
        t.stop += t.frequency / 10.0;
        return 0;
    case TIMER_ABSOLUTE:
        return now / t.frequency;
    case TIMER_APP_TIME:
        return (now - t.start) / t.frequency;
    case TIMER_ELAPSED: {
        double elapsed = (now - t.lastReading) / t.frequency;
        t.lastReading = now;
        return elapsed < 0 ? 0 : elapsed;
    }
    default:
        return -1;
    }
}
