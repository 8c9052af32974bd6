#pragma once
// The running totals of the download manager that the graph and the statistics panel show.
#include <cstdint>

class DownloadManager;

class IDownloadTotals {
public:
    virtual int64_t BytesReceived() const = 0;
    virtual int32_t PicturesSaved() const = 0;
protected:
    ~IDownloadTotals() = default;
};

// The totals of a download manager over the program's lifetime.
class DownloadManagerTotals : public IDownloadTotals {
public:
    explicit DownloadManagerTotals(const DownloadManager* manager) : manager_(manager) {}
    int64_t BytesReceived() const override;
    int32_t PicturesSaved() const override;
private:
    const DownloadManager* manager_;
};
