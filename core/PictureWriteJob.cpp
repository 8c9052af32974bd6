#include "core/PictureWriteJob.h"

#include "core/CAtlHttpClientT.h"
#include "core/DownloadThread.h"

PictureWriteJob::PictureWriteJob(DownloadThread* worker, const std::string& path, const PicturePlace& place)
    : worker_(worker), entry_(worker->GetEntry()),
      bodySize_(worker->GetClient() ? static_cast<size_t>(worker->GetClient()->GetBodyLength()) : 0), path_(path),
      place_(place) {}

PictureWriteJob::~PictureWriteJob() {
    Wait();
    delete worker_;
}

PictureWriteResult PictureWriteJob::Write() {
    CAtlHttpClientT* client = worker_ ? worker_->GetClient() : nullptr;
    const uint8_t* body = client ? client->GetBody() : nullptr;
    error_ = 0;
    if (!body && bodySize_ > 0) {
        error_ = ERROR_NOT_ENOUGH_MEMORY;
        return PictureWriteResult::kFailed;
    }
    static const uint8_t kNothing = 0;
    // The name check and the comparison with a file already there happen here, in the write,
    // so a restarted task takes its own earlier files instead of saving numbered copies.
    return SavePictureBytes(path_, body ? body : &kNothing, body ? bodySize_ : 0, &error_);
}

PictureWriteResult PictureWriteJob::WriteHere(const std::string& path) {
    path_ = path;
    result_ = Write();
    return result_;
}

unsigned PictureWriteJob::Run() {
    result_ = Write();
    // Done with the body unless another name must be tried: the worker, its client and the
    // body go here rather than on the UI thread.
    if (result_ != PictureWriteResult::kNameTaken) {
        delete worker_;
        worker_ = nullptr;
    }
    return 0;
}
