#include "ui/monitor/SpeedSamples.h"

double SpeedBetween(int64_t bytesBefore, int64_t timeBefore, int64_t bytesNow, int64_t timeNow) {
    const int64_t grown = bytesNow - bytesBefore;
    const int64_t interval = timeNow - timeBefore;
    if (grown <= 0 || interval <= 0) return 0.0;
    // Bytes per 100 ns x 10000 = bytes per millisecond = kilobytes per second.
    return static_cast<double>(grown) * 10000.0 / static_cast<double>(interval);
}

int64_t MonotonicNow() {
    LARGE_INTEGER frequency, counter;
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0 && QueryPerformanceCounter(&counter)) {
        const int64_t f = frequency.QuadPart, c = counter.QuadPart;
        return (c / f) * 10000000 + (c % f) * 10000000 / f;
    }
    return static_cast<int64_t>(GetTickCount64()) * 10000;
}

SpeedSampleRing::SpeedSampleRing() : slots_(kCapacity) {}

void SpeedSampleRing::Add(int64_t time, int64_t bytes) {
    const SpeedSample previous = slots_[newest_];
    newest_ = (newest_ + kCapacity - 1) % kCapacity;
    SpeedSample& s = slots_[newest_];
    s.valid = true;
    s.time = time;
    s.bytes = bytes;
    s.speed = previous.valid ? SpeedBetween(previous.bytes, previous.time, bytes, time) : 0.0;
}

const SpeedSample& SpeedSampleRing::At(size_t index) const {
    static const SpeedSample kEmpty;
    if (index >= kCapacity) return kEmpty;
    return slots_[(newest_ + index) % kCapacity];
}

double SpeedSampleRing::MeanOfNewest(size_t count) const {
    if (count == 0) return 0.0;
    double sum = 0.0;
    for (size_t i = 0; i < count; ++i) sum += At(i).valid ? At(i).speed : 0.0;
    return sum / static_cast<double>(count);
}
