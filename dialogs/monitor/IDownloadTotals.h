#pragma once
// The running totals of the download manager that the statistics panel and the speed graph show.
#include <cstdint>

class IDownloadTotals {
public:
    virtual int64_t BytesReceived() const = 0;
    virtual int32_t PicturesSaved() const = 0;
protected:
    ~IDownloadTotals() = default;
};
