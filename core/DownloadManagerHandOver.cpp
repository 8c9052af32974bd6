// The download manager's taking over of the links its workers found on their pages: a slice at
// a time on a timer of its own, so the window answers between slices however many links a page
// brought. The page stays in progress meanwhile: a link back to it is known, and a save of the
// queue keeps it queued, so its links are never lost with the program.
#include "core/DownloadManager.h"

#include "core/TaskEnqueueHost.h"
#include "core/TaskOptions.h"
#include "framework/MillisecondClock.h"

#include <algorithm>
#include <new>

namespace {

// Links taken between two looks at the clock.
const size_t kLinksPerStep = 256;

}  // namespace

void DownloadManager::BeginHandOver(const UrlQueueEntry& page, int32_t workerNumber, std::vector<FoundLink> links) {
    handOvers_.push_back(std::make_unique<PageLinkHandOver>(page, workerNumber, std::move(links)));
    queue_.AddInProgress(page);
    // An ordinary page is in the queue before the scheduler looks for the next address, as if
    // it had been taken in one piece.
    if (handOvers_.size() == 1) HandOverLinks();
}

bool DownloadManager::HandingOver(int32_t workerNumber) const {
    return std::any_of(handOvers_.begin(), handOvers_.end(),
                       [workerNumber](const std::unique_ptr<PageLinkHandOver>& h) { return h->WorkerNumber() == workerNumber; });
}

void DownloadManager::HandOverLinks() {
    const double start = MillisecondsNow();
    size_t budget = kHandOverSliceLinks;
    while (!handOvers_.empty() && budget > 0) {
        PageLinkHandOver& handOver = *handOvers_.front();
        const size_t step = std::min({budget, kLinksPerStep, handOver.Remaining()});
        try {
            if (!handOverHost_) handOverHost_ = MakeEnqueueHost();
            handOver.Step(step, queue_, *handOverHost_,
                          [this](std::vector<std::string>& links) { task_->FilterFoundLinks(links); });
        } catch (const std::bad_alloc&) {
            handOver.Abandon();
            GiveUpOutOfMemory(handOver.Page());
        }
        budget -= std::max<size_t>(step, 1);
        if (handOver.Done()) {
            queue_.RemoveInProgress(handOver.Page().url);
            queue_.MarkProcessed(handOver.Page());
            list_.FinishRow(handOver.WorkerNumber(), false, true);
            handOvers_.pop_front();
        }
        if (MillisecondsNow() - start >= kHandOverSliceMs) break;
    }
    if (handOvers_.empty()) {
        handOverHost_.reset();
        KillTimer(m_hWnd, kHandOverTimer);
    } else {
        SetTimer(m_hWnd, kHandOverTimer, kHandOverPeriod, nullptr);
    }
    RefreshStatusLine();
}

void DownloadManager::OnHandOverTimer() {
    // Taken up again once the scheduler or a stop is done: the timer keeps coming.
    if (idle_ || busy_ || scheduling_) {
        if (idle_) KillTimer(m_hWnd, kHandOverTimer);
        return;
    }
    {
        DownloadList::Batch batch(list_);
        HandOverLinks();
        // The new links fill free slots at once; a run whose last page this was ends here.
        Schedule(false);
    }
    if (idle_) list_.FlushRedraw();
    else UpdateViews(false);
}

void DownloadManager::DropHandOvers() {
    if (m_hWnd) KillTimer(m_hWnd, kHandOverTimer);
    for (const std::unique_ptr<PageLinkHandOver>& handOver : handOvers_) {
        queue_.RemoveInProgress(handOver->Page().url);
        queue_.PushBack(handOver->Page());
        list_.FinishRow(handOver->WorkerNumber(), false, true);
    }
    handOvers_.clear();
    handOverHost_.reset();
}
