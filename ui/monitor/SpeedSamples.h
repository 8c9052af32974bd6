#pragma once
// The speed graph's samples: the download manager's byte total read every two seconds, the
// speed over each interval, and the last 1000 of them with the newest first.
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <vector>
#include "dialogs/monitor/ISpeedDisplay.h"

struct SpeedSample {
    bool valid = false;
    int64_t time = 0;     // monotonic clock, 100 ns units
    int64_t bytes = 0;    // the manager's running byte total at that time
    double speed = 0.0;   // KB/s (1 KB = 1000 bytes) since the previous sample; 0 when unknown
};

// KB/s between two readings; 0 when the total did not grow or the interval is not positive.
double SpeedBetween(int64_t bytesBefore, int64_t timeBefore, int64_t bytesNow, int64_t timeNow);

// The clock the samples use: never goes back, unlike the wall clock. 100 ns units.
int64_t MonotonicNow();

class SpeedSampleRing : public ISpeedHistory {
public:
    static constexpr size_t kCapacity = 1000;

    SpeedSampleRing();
    // The newest sample becomes index 0; the oldest drops off the end.
    void Add(int64_t time, int64_t bytes);
    // Index 0 is the newest; indexes past what was taken answer an empty sample.
    const SpeedSample& At(size_t index) const;
    // The mean speed of the newest `count` slots; slots not yet taken count as 0.
    double MeanOfNewest(size_t count) const override;

private:
    std::vector<SpeedSample> slots_;
    size_t newest_ = 0;   // slot of index 0
};
