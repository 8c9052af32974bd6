#include "core/ImageRecord.h"

#include "core/IndicesAfterRemoval.h"

#include <utility>

void ImageRecordList::RemoveAt(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    records_.erase(records_.begin() + index);
}

void ImageRecordList::RemoveIndices(const std::vector<int32_t>& indices)
{
    const std::vector<int32_t> after = IndicesAfterRemoval(records_.size(), indices);
    size_t kept = 0;
    for (size_t i = 0; i < records_.size(); ++i) {
        if (after[i] < 0)
            continue;
        if (kept != i)
            records_[kept] = std::move(records_[i]);
        ++kept;
    }
    records_.resize(kept);
}

int ImageRecordList::FindByLocalPath(const std::string& path) const
{
    for (size_t i = 0; i < records_.size(); ++i)
        if (records_[i].localPath == path)
            return static_cast<int>(i);
    return -1;
}

int ImageRecordList::FindByImageUrl(const std::string& url) const
{
    for (size_t i = 0; i < records_.size(); ++i)
        if (records_[i].imageUrl == url)
            return static_cast<int>(i);
    return -1;
}
