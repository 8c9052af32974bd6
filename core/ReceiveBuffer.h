#pragma once
#include <cstdint>

// Bytes received ahead of the reader: one receive fills it, reads take from it in order.
class ReceiveBuffer {
public:
    static const uint32_t kSize = 64 * 1024;
    ReceiveBuffer() = default;
    ~ReceiveBuffer() { delete[] data_; }
    ReceiveBuffer(const ReceiveBuffer&) = delete;
    ReceiveBuffer& operator=(const ReceiveBuffer&) = delete;

    // Makes the storage on first use; false when it cannot be had (reads then go direct).
    bool Ensure();
    char* Data() { return data_; }
    uint32_t Left() const { return end_ - start_; }
    void Filled(uint32_t count) {
        start_ = 0;
        end_ = count;
    }
    // Copies up to size bytes out; the count copied.
    uint32_t Take(void* out, uint32_t size);
    void Clear() { start_ = end_ = 0; }

private:
    char* data_ = nullptr;
    uint32_t start_ = 0;
    uint32_t end_ = 0;
};
