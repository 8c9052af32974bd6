#include "core/ReceiveBuffer.h"

#include <cstring>
#include <new>

bool ReceiveBuffer::Ensure() {
    if (!data_)
        data_ = new (std::nothrow) char[kSize];
    return data_ != nullptr;
}

uint32_t ReceiveBuffer::Take(void* out, uint32_t size) {
    uint32_t n = Left() < size ? Left() : size;
    memcpy(out, data_ + start_, n);
    start_ += n;
    return n;
}
