#pragma once
// Writes one accepted picture into the file chosen for it, on a pool thread, so the UI thread
// never waits for the disk. The job owns the finished worker whose client holds the body; when
// the write is over it deletes that worker (on its own thread too). It sends no word of its
// end: the manager looks at its jobs whenever a worker's record brings it round, and waits for
// the last ones when no worker is left.
#include "core/PictureSaver.h"
#include "core/Threadable.h"
#include "core/UrlQueueEntry.h"

#include <cstdint>
#include <string>

class DownloadThread;

class PictureWriteJob : public Threadable {
public:
    // Takes ownership of the worker (ended, its result taken).
    PictureWriteJob(DownloadThread* worker, const std::string& path, const PicturePlace& place);
    ~PictureWriteJob() override;

    const UrlQueueEntry& GetEntry() const { return entry_; }
    const PicturePlace& GetPlace() const { return place_; }
    const std::string& GetPath() const { return path_; }
    size_t BodySize() const { return bodySize_; }
    // Read once the job has ended.
    PictureWriteResult GetResult() const { return result_; }
    // Why the write failed (a system error code), 0 when it did not.
    unsigned long GetError() const { return error_; }

    // On the calling thread, into another path (a clash found by the job, settled by the
    // manager, which asks the disk for a free name). The body is kept after a clash only.
    PictureWriteResult WriteHere(const std::string& path);

protected:
    unsigned Run() override;

private:
    PictureWriteResult Write();

    DownloadThread* worker_;
    UrlQueueEntry entry_;
    size_t bodySize_;
    std::string path_;
    PicturePlace place_;
    PictureWriteResult result_ = PictureWriteResult::kFailed;
    unsigned long error_ = 0;
};
