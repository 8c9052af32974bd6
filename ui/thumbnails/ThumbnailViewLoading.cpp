// Fetching pictures a slice per timer tick so painting and input go on between pictures. Each
// tick serves what shows first (and while items keep being added, only that); pictures that come
// cheaply (cache hits) are served several per tick. Pictures that must be decoded go to the
// control's decode thread, several to a job in the order they would be fetched: the tick only
// starts the job, and the timer waits until its results are taken in.
#include "ui/thumbnails/ThumbnailView.h"

#include <algorithm>
#include <memory>
#include "framework/MillisecondClock.h"
#include "ui/thumbnails/ThumbnailDecodeJob.h"

namespace {

// A tick goes on with the next item while it has used less than this.
const double kTickBudgetMs = 8.0;
const int kMostItemsPerTick = 64;
// While items keep being added (a crawl brings them), only what shows is fetched: items out of
// sight wait until none has come for this long, checked on a slow tick meanwhile.
const DWORD kAddQuietMs = 1000;
const UINT kQuietCheckPeriodMs = 250;

}  // namespace

void CThumbnailView::StartLoading() {
    loadingEnabled_ = true;
    if (pendingCount_ > 0) StartLoadTimer();
}

void CThumbnailView::StartLoadTimer() {
    if (!m_hWnd || (loadTimerRunning_ && !loadTimerSlow_)) return;
    loadTimerRunning_ = ::SetTimer(m_hWnd, kLoadTimer, 1, nullptr) != 0;
    loadTimerSlow_ = false;
}

void CThumbnailView::StopLoadTimer() {
    if (m_hWnd) ::KillTimer(m_hWnd, kLoadTimer);
    loadTimerRunning_ = loadTimerSlow_ = false;
}

bool CThumbnailView::AddingRecently() const {
    return addedAt_ != 0 && ::GetTickCount() - addedAt_ < kAddQuietMs;
}

LRESULT CThumbnailView::OnShowWindow(UINT, WPARAM wParam, LPARAM, BOOL&) {
    EndBand();
    // Nothing is fetched for a hidden control; showing it again goes on where it stopped.
    if (wParam) {
        if (loadingEnabled_ && pendingCount_ > 0) StartLoadTimer();
    } else {
        StopLoadTimer();
    }
    return 0;
}

int CThumbnailView::NextItemToFetch() {
    const int count = GetItemCount();
    if (loadNext_ >= 0 && loadNext_ < count && items_[loadNext_]->pending) return loadNext_;
    // What shows comes first, whatever happened to the view since the last tick.
    int first = 0, last = -1;
    ThumbnailRowSpan(grid_, look_, count, scroll_.y, scroll_.y + clientHeight_, first, last);
    for (int i = first; i <= last; ++i)
        if (items_[i]->pending) return i;
    if (AddingRecently()) return -1;
    // Then the rest in order; items put back after their cache page went wait until they show,
    // so a task larger than the cache does not keep reloading itself.
    while (scanFrom_ < count && (!items_[scanFrom_]->pending || items_[scanFrom_]->onlyWhenVisible)) ++scanFrom_;
    return scanFrom_ < count ? scanFrom_ : -1;
}

void CThumbnailView::FetchItem(int index) {
    CThumbnailItem* item = items_[index];
    ThumbnailItemData copy = item->Data();
    if (copy.pending && listener_) {
        const ThumbnailSizes sizes = {look_.thumbnailWidth, look_.thumbnailHeight};
        listener_->GetItemTip(index, sizes, copy);
    }
    StoreItemData(item, index, copy);
}

bool CThumbnailView::StartDecode(int index) {
    CThumbnailItem* item = items_[index];
    if (!listener_ || !item->pending || !listener_->NeedsDecode(index, item->Data())) return false;
    std::unique_ptr<ThumbnailDecodeJob> job(new ThumbnailDecodeJob(look_.thumbnailWidth, look_.thumbnailHeight));
    job->Add(item->Data().path, item);
    // The rest of the job in fetching order: what shows, then (unless items keep coming) what
    // follows; an item that would come from the cache is left to the tick.
    auto take = [&](int i) {
        CThumbnailItem* next = items_[i];
        if (!next->pending || job->Holds(next) || !listener_->NeedsDecode(i, next->Data())) return;
        job->Add(next->Data().path, next);
    };
    const int count = GetItemCount();
    int first = 0, last = -1;
    ThumbnailRowSpan(grid_, look_, count, scroll_.y, scroll_.y + clientHeight_, first, last);
    for (int i = first; i <= last && job->pictures.size() < ThumbnailDecodeJob::kMostPictures; ++i) take(i);
    if (!AddingRecently()) {
        for (int i = index + 1; i < count && job->pictures.size() < ThumbnailDecodeJob::kMostPictures; ++i)
            if (!items_[i]->onlyWhenVisible) take(i);
    }
    // Without a thread the picture is fetched here as before.
    return decoder_.Start(std::move(job));
}

LRESULT CThumbnailView::OnDecoded(UINT, WPARAM, LPARAM, BOOL&) {
    std::unique_ptr<BackgroundJob> taken = decoder_.TakeResult();
    auto* job = static_cast<ThumbnailDecodeJob*>(taken.get());
    if (!job) return 0;
    const ThumbnailSizes sizes = {look_.thumbnailWidth, look_.thumbnailHeight};
    for (size_t p = 0; p < job->pictures.size() && listener_; ++p) {
        const ThumbnailDecodeJob::Picture& picture = job->pictures[p];
        if (!picture.decoded) break;
        // The item may have gone, or been fetched another way, while its picture decoded.
        auto found = std::find(items_.begin(), items_.end(), picture.item);
        if (found == items_.end() || !(*found)->pending || (*found)->Data().path != picture.path) continue;
        CThumbnailItem* item = *found;
        const int index = static_cast<int>(found - items_.begin());
        ThumbnailItemData copy = item->Data();
        // A failed load's bitmap is not handed on: it goes with this holder.
        GdiObject<HBITMAP> bitmap = job->TakeBitmap(p);
        listener_->TakeDecodedPicture(index, sizes, picture.loaded ? bitmap.Release() : nullptr, picture.width,
                                      picture.height, copy);
        StoreItemData(item, index, copy);
    }
    if (loadingEnabled_ && pendingCount_ > 0 && ::IsWindowVisible(m_hWnd)) StartLoadTimer();
    return 0;
}

void CThumbnailView::StoreItemData(CThumbnailItem* item, int index, ThumbnailItemData& copy) {
    // The listener may have changed the items (a cache page went): find this one again.
    if (index >= GetItemCount() || items_[index] != item) {
        auto found = std::find(items_.begin(), items_.end(), item);
        if (found == items_.end()) return;
        index = static_cast<int>(found - items_.begin());
    }
    item->TakeData(copy);
    if (item->pending) {
        item->pending = false;
        item->onlyWhenVisible = false;
        --pendingCount_;
    }
    InvalidateItem(index);
}

void CThumbnailView::OnLoadTimer() {
    // Hidden (itself or through a parent): stop until shown again.
    if (!::IsWindowVisible(m_hWnd) || !loadingEnabled_) {
        StopLoadTimer();
        return;
    }
    // One decode job at a time: the timer goes on once its results are in.
    if (decoder_.IsBusy()) {
        StopLoadTimer();
        return;
    }
    const double start = MillisecondsNow();
    for (int served = 0; served < kMostItemsPerTick && pendingCount_ > 0; ++served) {
        const int index = NextItemToFetch();
        loadNext_ = -1;
        if (index < 0) break;
        if (StartDecode(index)) {
            StopLoadTimer();
            return;
        }
        FetchItem(index);
        if (MillisecondsNow() - start >= kTickBudgetMs) break;
    }
    if (pendingCount_ > 0 && NextItemToFetch() < 0 && AddingRecently()) {
        loadTimerRunning_ = ::SetTimer(m_hWnd, kLoadTimer, kQuietCheckPeriodMs, nullptr) != 0;
        loadTimerSlow_ = loadTimerRunning_;
    } else if (pendingCount_ <= 0 || NextItemToFetch() < 0) {
        StopLoadTimer();
    }
}
