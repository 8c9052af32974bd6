// The status bar's queue and task panes and the progress of long operations.
#include "core/TaskOptions.h"
#include "resources/app_ids.h"
#include "resources/frame_ids.h"
#include "ui/MainFrame.h"
#include "core/LocalText.h"
#include "core/TextFill.h"

namespace {
const size_t kPaneTextLength = 254;
const int kProgressPane = 1;
}  // namespace

void MainFrame::UpdateQueuePane(bool starting) {
    const int pending = pieces_.tasks->GetPendingCount();
    // The task being started is still in the list: it does not count as waiting.
    if (pending < (starting ? 2 : 1)) {
        statusPanes_.SetPaneIcon(kQueuePane, nullptr);
        statusPanes_.SetPaneTip(kQueuePane, "");
        return;
    }
    statusPanes_.SetPaneIcon(kQueuePane, queueIcon_);
    statusPanes_.SetPaneTip(kQueuePane, FillInNumber(LocalText(IDS_QUEUE_TIP), pending, kPaneTextLength));
}

void MainFrame::ShowTaskPane(TaskOptions* task, HICON icon, unsigned textId) {
    paneTask_ = task;
    paneTextId_ = textId;
    const std::string name = task ? task->TaskName : std::string();
    statusPanes_.SetPaneIcon(kTaskPane, icon);
    statusPanes_.SetPaneText(kTaskPane, FillInTexts(LocalText(textId), {name}, kPaneTextLength));
    statusPanes_.SetPaneTip(kTaskPane, "");
}

void MainFrame::UpdateTaskPane(bool started, TaskOptions* task) {
    ShowTaskPane(task, started ? startedIcon_ : completedIcon_,
                 started ? IDS_TASK_PANE_STARTED : IDS_TASK_PANE_COMPLETED);
}

void MainFrame::ShowRunEndPane(TaskOptions* task, RunEnd end, bool withError) {
    HICON icon = withError ? completedErrorIcon_ : completedIcon_;
    unsigned id = withError ? IDS_TASK_PANE_COMPLETED_ERROR : IDS_TASK_PANE_COMPLETED;
    if (end == RunEnd::kPaused) {
        icon = pausedIcon_;
        id = IDS_TASK_PANE_PAUSED;
    } else if (end == RunEnd::kStopped) {
        icon = stoppedIcon_;
        id = IDS_TASK_PANE_STOPPED;
    }
    ShowTaskPane(task, icon, id);
}

void MainFrame::TaskRenamed(TaskOptions* task, const std::string& oldName) {
    if (!task) return;
    downloadManager_.TaskRenamed(task, oldName);
    if (task != paneTask_) return;
    statusPanes_.SetPaneText(kTaskPane, FillInTexts(LocalText(paneTextId_), {task->TaskName}, kPaneTextLength));
    // The tray's tip names the task of the last run while it stays paused or stopped.
    if (!interruptedTask_.empty()) interruptedTask_ = task->TaskName;
    RefreshTrayTip();
}

void MainFrame::OnTaskRefused(TaskOptions*, const std::string& reason) {
    // The refusal takes the place of what an earlier run left there. The pane is narrow: its
    // tip, shown while the text does not fit, holds the whole sentence. It names no task a
    // rename would have to follow.
    paneTask_ = nullptr;
    statusPanes_.SetPaneIcon(kTaskPane, completedErrorIcon_);
    statusPanes_.SetPaneText(kTaskPane, reason.substr(0, kPaneTextLength));
    statusPanes_.SetPaneTip(kTaskPane, reason);
}

void MainFrame::ForgetStatusTask() {
    paneTask_ = nullptr;
    paneTextId_ = 0;
    interruptedTask_.clear();
    statusPanes_.SetPaneIcon(kTaskPane, nullptr);
    statusPanes_.SetPaneText(kTaskPane, "");
    statusPanes_.SetPaneTip(kTaskPane, "");
    monitorPane_.SetTitle(LocalText(IDS_PANE_MONITOR_IDLE));
    RefreshTrayTip();
}

void MainFrame::BeginLongOperation(int range, const std::string& text) {
    int horizontal = 0, vertical = 0;
    statusPanes_.GetBorders(horizontal, vertical);
    RECT pane = statusPanes_.GetPaneRect(kProgressPane);
    ::InflateRect(&pane, -horizontal, -vertical);
    ::SetWindowPos(progressBar_.m_hWnd, nullptr, pane.left, pane.top, pane.right - pane.left,
                   pane.bottom - pane.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    progressBar_.SetRange(0, range > 0 ? range : 0);
    progressBar_.SetPos(0);
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    statusPanes_.SetPaneText(0, text);
    // Only the status bar shows the operation: repainting the whole frame here cost the window
    // hundreds of milliseconds per command with a large task in view.
    ::RedrawWindow(statusPanes_.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void MainFrame::StepLongOperation() { progressBar_.SetPos(progressBar_.GetPos() + 1); }

void MainFrame::EndLongOperation() {
    progressBar_.SetPos(0);
    ::ShowWindow(progressBar_.m_hWnd, SW_HIDE);
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    statusPanes_.SetPaneText(0, LocalText(IDS_STATUS_READY));
}
