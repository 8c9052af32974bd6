#include "ui/pictures/PictureSelectionJob.h"

#include <algorithm>
#include <unordered_map>

bool CriteriaReadFiles(const PictureCriteria& criteria) {
    return criteria.widthLargerOn || criteria.heightLargerOn || criteria.widthSmallerOn || criteria.heightSmallerOn;
}

PictureSelectionJob::PictureSelectionJob(const PictureCriteria& criteria, const ImageRecordList& records,
                                         TaskOptions* task)
    : criteria_(criteria), task_(task) {
    pictures_.reserve(static_cast<size_t>(records.GetCount()));
    for (int i = 0; i < records.GetCount(); ++i) {
        const ImageRecord& record = records.GetAt(i);
        pictures_.push_back({record.localPath, record.imageUrl, record.fileName, record.fileSize});
    }
}

void PictureSelectionJob::Run() {
    ImageRecord record;
    for (size_t i = 0; i < pictures_.size(); ++i) {
        record.localPath = pictures_[i].localPath;
        record.imageUrl = pictures_[i].imageUrl;
        record.fileName = pictures_[i].fileName;
        record.fileSize = pictures_[i].fileSize;
        if (PictureMatches(criteria_, record)) matching_.push_back(static_cast<int32_t>(i));
    }
}

PictureIndexList PictureSelectionJob::MatchingIn(const ImageRecordList& records) const {
    PictureIndexList now;
    std::unordered_map<std::string, int> byPath;
    for (int32_t index : matching_) {
        const std::string& path = pictures_[static_cast<size_t>(index)].localPath;
        if (index < records.GetCount() && records.GetAt(index).localPath == path) {
            now.push_back(index);
            continue;
        }
        if (byPath.empty())
            for (int i = records.GetCount() - 1; i >= 0; --i) byPath[records.GetAt(i).localPath] = i;
        const auto found = byPath.find(path);
        if (found != byPath.end()) now.push_back(found->second);
    }
    std::sort(now.begin(), now.end());
    now.erase(std::unique(now.begin(), now.end()), now.end());
    return now;
}
