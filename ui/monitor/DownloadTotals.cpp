#include "ui/monitor/DownloadTotals.h"

#include "core/DownloadManager.h"

int64_t DownloadManagerTotals::BytesReceived() const { return manager_ ? manager_->LifetimeBytes() : 0; }

int32_t DownloadManagerTotals::PicturesSaved() const { return manager_ ? manager_->LifetimeImages() : 0; }
