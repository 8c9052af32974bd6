#pragma once
// Selection by condition of a long picture list, on a thread: a dimension bound reads every
// picture's header from the disk (and a JPEG's through the decoder), a second and more for
// thousands of pictures, which the window must not wait for. The job works on copies of what the
// tests read; the container maps the matching pictures back by their files when it takes the
// result, as the list may have been sorted or cut meanwhile.
#include <string>
#include <vector>
#include "core/ImageRecord.h"
#include "dialogs/pictures/PictureCriteria.h"
#include "framework/OneJobThread.h"
#include "ui/PictureIndexList.h"

class TaskOptions;

// True when the criteria read the picture files (a width or height bound is on).
bool CriteriaReadFiles(const PictureCriteria& criteria);

class PictureSelectionJob : public BackgroundJob {
public:
    PictureSelectionJob(const PictureCriteria& criteria, const ImageRecordList& records, TaskOptions* task);
    void Run() override;

    // Where the matching pictures are in `records` now: by index when the record there is still
    // the same file, else found by its file; pictures gone are left out. Ascending.
    PictureIndexList MatchingIn(const ImageRecordList& records) const;
    TaskOptions* Task() const { return task_; }

private:
    struct Picture {
        std::string localPath, imageUrl, fileName;
        int32_t fileSize;
    };
    PictureCriteria criteria_;
    std::vector<Picture> pictures_;
    TaskOptions* task_;  // compared only, never used on the thread
    PictureIndexList matching_;
};
