#include "dialogs/options/LogSizeField.h"

int32_t LogSizeShownKilobytes(int32_t bytes) {
    const int32_t kilobytes = bytes / 1024;
    return kilobytes > 0 ? kilobytes : 1;
}

int32_t LogSizeBytesFromKilobytes(int32_t kilobytes) {
    const int64_t bytes = static_cast<int64_t>(kilobytes) * 1024;
    if (bytes > kLargestLogSizeBytes) return kLargestLogSizeBytes;
    if (bytes <= 0) return 1048576;  // Validate refuses these before they come here
    return static_cast<int32_t>(bytes);
}
