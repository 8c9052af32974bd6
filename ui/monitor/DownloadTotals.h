#pragma once
#include <cstdint>
#include "dialogs/monitor/IDownloadTotals.h"

class DownloadManager;

// The totals of a download manager over the program's lifetime.
class DownloadManagerTotals : public IDownloadTotals {
public:
    explicit DownloadManagerTotals(const DownloadManager* manager) : manager_(manager) {}
    int64_t BytesReceived() const override;
    int32_t PicturesSaved() const override;
private:
    const DownloadManager* manager_;
};
