#pragma once
// One process-wide stopwatch that paces the viewer's transition effects. Returns seconds.
enum PerformanceTimerMode {
    TIMER_RESET = 0,       // start time = now
    TIMER_START = 1,       // start or resume after a stop
    TIMER_STOP = 2,        // pause
    TIMER_ADVANCE = 3,     // move a stopped timer on by 0.1 s
    TIMER_ABSOLUTE = 4,    // now
    TIMER_APP_TIME = 5,    // now - start
    TIMER_ELAPSED = 6      // now - last elapsed reading; that reading becomes now
};

double PerformanceTimer(int mode);

// For tests: forget the high-resolution counter and run from the millisecond clock (or back).
void PerformanceTimerUseMillisecondClock(bool useMilliseconds);
