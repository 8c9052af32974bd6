#pragma once
// The same "random" numbers on every run and every machine, so a failing round of a hostile-bytes
// test can be run again as it was. Header only: the sanitized native build uses it too.
#include <cstdint>

namespace testsupport {

class RepeatableRandom {
public:
    explicit RepeatableRandom(uint32_t seed) : seed_(seed) {}
    // 24 bits a call; the low bits of the step below repeat too soon to be used.
    uint32_t operator()() {
        seed_ = seed_ * 1103515245u + 12345u;
        return seed_ >> 8;
    }

private:
    uint32_t seed_;
};

}  // namespace testsupport
