// Fetching pictures a slice per timer tick so painting and input go on between pictures. Each
// tick serves what shows first (and while items keep being added, only that); pictures that come
// cheaply (cache hits) are served several per tick. A picture that must be decoded goes to the
// control's decode thread: the tick only starts it, and the timer waits until its result is
// taken in.
#include "ui/thumbnails/ThumbnailView.h"

#include <algorithm>
#include <memory>
#include "ui/thumbnails/ThumbnailDecodeJob.h"

namespace {

// A tick goes on with the next item while it has used less than this.
const double kTickBudgetMs = 8.0;
const int kMostItemsPerTick = 64;
// While items keep being added (a crawl brings them), only what shows is fetched: items out of
// sight wait until none has come for this long, checked on a slow tick meanwhile.
const DWORD kAddQuietMs = 1000;
const UINT kQuietCheckPeriodMs = 250;

double NowMs() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

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
    std::unique_ptr<ThumbnailDecodeJob> job(
        new ThumbnailDecodeJob(item->Data().path, look_.thumbnailWidth, look_.thumbnailHeight, item));
    // Without a thread the picture is fetched here as before.
    return decoder_.Start(std::move(job));
}

LRESULT CThumbnailView::OnDecoded(UINT, WPARAM, LPARAM, BOOL&) {
    std::unique_ptr<BackgroundJob> taken = decoder_.TakeResult();
    auto* job = static_cast<ThumbnailDecodeJob*>(taken.get());
    if (!job) return 0;
    // The item may have gone, or been fetched another way, while its picture decoded.
    auto found = std::find(items_.begin(), items_.end(), job->item);
    if (found != items_.end() && (*found)->pending && (*found)->Data().path == job->path && listener_) {
        CThumbnailItem* item = *found;
        const int index = static_cast<int>(found - items_.begin());
        ThumbnailItemData copy = item->Data();
        const ThumbnailSizes sizes = {look_.thumbnailWidth, look_.thumbnailHeight};
        HBITMAP bitmap = job->TakeBitmap();
        listener_->TakeDecodedPicture(index, sizes, job->loaded ? bitmap : nullptr, job->width, job->height, copy);
        if (!job->loaded && bitmap) ::DeleteObject(bitmap);
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
    // One decode at a time: the timer goes on once its result is in.
    if (decoder_.IsBusy()) {
        StopLoadTimer();
        return;
    }
    const double start = NowMs();
    for (int served = 0; served < kMostItemsPerTick && pendingCount_ > 0; ++served) {
        const int index = NextItemToFetch();
        loadNext_ = -1;
        if (index < 0) break;
        if (StartDecode(index)) {
            StopLoadTimer();
            return;
        }
        FetchItem(index);
        if (NowMs() - start >= kTickBudgetMs) break;
    }
    if (pendingCount_ > 0 && NextItemToFetch() < 0 && AddingRecently()) {
        loadTimerRunning_ = ::SetTimer(m_hWnd, kLoadTimer, kQuietCheckPeriodMs, nullptr) != 0;
        loadTimerSlow_ = loadTimerRunning_;
    } else if (pendingCount_ <= 0 || NextItemToFetch() < 0) {
        StopLoadTimer();
    }
}
