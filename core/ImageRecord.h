#pragma once
// One picture a task has saved, and the task's list of them.
#include <cstdint>
#include <string>
#include <vector>

struct ImageRecord {
    std::string pageUrl;    // the page the picture was found on (the download's referrer)
    std::string imageUrl;   // the address the picture came from
    std::string localPath;  // full path of the saved file
    std::string fileName;   // the part of localPath after its last backslash
    int32_t fileSize = 0;   // bytes written
    uint32_t timeLow = 0;   // FILETIME of the save (local time), low half
    uint32_t timeHigh = 0;  // and high half
    // 0 while the picture is new to the user (drawn highlighted); the list view sets it to 1.
    uint8_t flag = 0;
};

// A task's saved pictures in the order they were appended.
class ImageRecordList {
public:
    int GetCount() const { return static_cast<int>(records_.size()); }
    bool IsEmpty() const { return records_.empty(); }
    // Zero-based; the caller may change the record in place. The index must be valid.
    ImageRecord& GetAt(int index) { return records_[static_cast<size_t>(index)]; }
    const ImageRecord& GetAt(int index) const { return records_[static_cast<size_t>(index)]; }
    void Append(const ImageRecord& record) { records_.push_back(record); }
    // Removes one record; later records move down by one. An index out of range is ignored.
    void RemoveAt(int index);
    // Removes the records at `indices` (ascending, no repeats) in one pass; out of range ignored.
    void RemoveIndices(const std::vector<int32_t>& indices);
    void Clear() { records_.clear(); }
    void Assign(const ImageRecordList& other) { records_ = other.records_; }
    // Index of the first record whose local path equals path byte for byte, or -1.
    int FindByLocalPath(const std::string& path) const;
    // Index of the first record whose picture URL equals url byte for byte, or -1.
    int FindByImageUrl(const std::string& url) const;

private:
    std::vector<ImageRecord> records_;
};
