#pragma once
// The log size limit is stored in bytes and edited in kilobytes.
#include <cstdint>

// The largest limit the field stores: the top of its spin range, 1 GB, which is also the most
// the settings file is read back with.
const int32_t kLargestLogSizeBytes = 1048576 * 1024;

// Bytes shown as whole kilobytes; less than one kilobyte (or a nonsense negative) shows 1.
int32_t LogSizeShownKilobytes(int32_t bytes);
// Kilobytes typed as bytes; a product beyond the 32-bit range is clamped to kLargestLogSizeBytes
// rather than wrapping; zero or less (refused by validation) gives the default of 1 MB.
int32_t LogSizeBytesFromKilobytes(int32_t kilobytes);
