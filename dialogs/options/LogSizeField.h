#pragma once
// The log size limit is stored in bytes and edited in kilobytes.
#include <cstdint>

// The largest limit the field stores: the most whole kilobytes a signed 32-bit byte count holds.
const int32_t kLargestLogSizeBytes = 2097151 * 1024;

// Bytes shown as whole kilobytes; less than one kilobyte (or a nonsense negative) shows 1.
int32_t LogSizeShownKilobytes(int32_t bytes);
// Kilobytes typed as bytes; a product beyond the 32-bit range is clamped to kLargestLogSizeBytes
// rather than wrapping; zero or less (refused by validation) gives the default of 1 MB.
int32_t LogSizeBytesFromKilobytes(int32_t kilobytes);
