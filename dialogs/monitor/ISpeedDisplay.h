#pragma once
// How the statistics panel and the speed graph beside it meet: the graph keeps the samples and
// tells the panel when they change; the panel reads the mean it shows.
#include <cstddef>

// The samples the panel's speed is read from.
class ISpeedHistory {
public:
    // The mean speed (KB/s) of the newest `count` samples.
    virtual double MeanOfNewest(size_t count) const = 0;
protected:
    ~ISpeedHistory() = default;
};

// The statistics panel's speed read-out, told after each sample and when a run ends.
class ISpeedDisplay {
public:
    virtual void UpdateSpeed() = 0;
    virtual void ShowNoSpeed() = 0;
protected:
    ~ISpeedDisplay() = default;
};
