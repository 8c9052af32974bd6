#include "core/ImageRecord.h"

void ImageRecordList::RemoveAt(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    records_.erase(records_.begin() + index);
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
