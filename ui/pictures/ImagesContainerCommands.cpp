// The picture commands that change, select or copy the current task's pictures.
#include "ui/pictures/ImagesContainer.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>
#include "core/ImageRecord.h"
#include "core/PathHelpers.h"
#include "core/TaskOptions.h"
#include "dialogs/monitor/ImageInformation.h"
#include "framework/AnsweringWait.h"
#include "framework/UserPrompts.h"
#include "resources/app_ids.h"
#include "resources/pictures_ids.h"
#include "dialogs/pictures/ISelectImagesDialog.h"
#include "ui/frame/IFrameHost.h"
#include "core/LocalText.h"
#include "dialogs/pictures/PictureCriteria.h"
#include "ui/pictures/ExchangeSortOrder.h"
#include "ui/pictures/KeptSelection.h"
#include "ui/pictures/PictureFiles.h"
#include "ui/pictures/PictureSelectionJob.h"

namespace {

// Ranks of the records' sort keys: equal keys get equal ranks. Names compare byte by byte as
// unsigned bytes (strcmp), sizes as signed numbers.
std::vector<int64_t> SortRanks(const ImageRecordList& records, int kind) {
    const int n = records.GetCount();
    std::vector<int64_t> ranks(static_cast<size_t>(n));
    if (kind != 0) {
        for (int i = 0; i < n; ++i) ranks[static_cast<size_t>(i)] = records.GetAt(i).fileSize;
        return ranks;
    }
    std::vector<int> byName(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) byName[static_cast<size_t>(i)] = i;
    auto name = [&records](int i) { return records.GetAt(i).fileName.c_str(); };
    std::sort(byName.begin(), byName.end(), [&name](int a, int b) { return strcmp(name(a), name(b)) < 0; });
    int64_t rank = 0;
    for (size_t k = 0; k < byName.size(); ++k) {
        if (k > 0 && strcmp(name(byName[k - 1]), name(byName[k])) != 0) ++rank;
        ranks[static_cast<size_t>(byName[k])] = rank;
    }
    return ranks;
}

}  // namespace

void ImagesContainer::SortImages(int kind) {
    if (!task_ || task_->DownloadedImages.IsEmpty()) return;
    bool& ascending = kind == 0 ? nameAscending_ : sizeAscending_;
    // No progress bar: the sort takes milliseconds, and showing and hiding the bar repaints the
    // whole frame twice.
    ReorderKeepingStates([this, kind, &ascending] {
        ImageRecordList& records = task_->DownloadedImages;
        const std::vector<int> order = ExchangeSortOrder(SortRanks(records, kind), ascending);
        std::vector<ImageRecord> sorted;
        sorted.reserve(order.size());
        for (int from : order) sorted.push_back(std::move(records.GetAt(from)));
        for (size_t k = 0; k < sorted.size(); ++k) records.GetAt(static_cast<int>(k)) = std::move(sorted[k]);
    });
    ascending = !ascending;
}

void ImagesContainer::ReorderKeepingStates(const std::function<void()>& reorder) {
    // Each view's selected and focused pictures are kept by their files: row numbers would point
    // at other pictures after the reorder.
    ImageRecordList& records = task_->DownloadedImages;
    IPictureRows* views[] = {&listView_, &thumbnailView_};
    KeptSelection kept[2];
    PictureIndexList selected;
    for (size_t v = 0; v < 2; ++v) {
        views[v]->GetSelected(selected);
        kept[v].Remember(records, selected, views[v]->GetFocusedIndex());
    }
    reorder();
    for (size_t v = 0; v < 2; ++v) {
        int focused = -1;
        views[v]->LoadTask();
        kept[v].TakeRows(records, selected, focused);
        views[v]->ApplyStates(selected, focused);
    }
}

void ImagesContainer::SelectByCondition() {
    if (!frame_) return;
    ISelectImagesDialog* dialog = frame_->GetSelectImagesDlg();
    if (!dialog || dialog->DoModal(::GetActiveWindow()) != IDOK) return;
    if (const PictureCriteria* criteria = dialog->GetCriteria()) SelectMatching(*criteria);
}

void ImagesContainer::SelectMatching(const PictureCriteria& criteria) {
    const int n = task_ ? task_->DownloadedImages.GetCount() : 0;
    ++selectionGeneration_;  // a selection still being measured is overtaken
    if (n > kPicturesMeasuredAtOnce && CriteriaReadFiles(criteria) && m_hWnd) {
        auto job = std::make_unique<PictureSelectionJob>(criteria, task_->DownloadedImages, task_);
        job->generation = selectionGeneration_;
        if (!selectionProgress_) BeginProgress(n, IDS_SELECT_BY_CONDITION);
        selectionProgress_ = true;
        if (selector_.Start(std::move(job))) return;
        selectionProgress_ = false;
        EndProgress();
    }
    // Sizes and names are in memory, and few files are read: no progress bar (showing and hiding
    // it repaints the whole frame twice).
    PictureIndexList matching;
    for (int i = 0; i < n; ++i)
        if (PictureMatches(criteria, task_->DownloadedImages.GetAt(i))) matching.push_back(i);
    SelectInBothViews(matching);
}

LRESULT ImagesContainer::OnPicturesMeasured(UINT, WPARAM, LPARAM, BOOL&) {
    std::unique_ptr<BackgroundJob> taken = selector_.TakeResult();
    auto* job = static_cast<PictureSelectionJob*>(taken.get());
    if (!job || job->generation != selectionGeneration_) return 0;
    if (selectionProgress_) EndProgress();
    selectionProgress_ = false;
    if (!task_ || job->Task() != task_) return 0;
    SelectInBothViews(job->MatchingIn(task_->DownloadedImages));
    return 0;
}

void ImagesContainer::SelectInBothViews(const PictureIndexList& indices) {
    listView_.SelectIndices(indices);
    thumbnailView_.SelectIndices(indices);
}

void ImagesContainer::CopySelectedTo() {
    if (!task_) return;
    PictureIndexList indices;
    VisibleSelection(indices);
    if (indices.empty()) return;
    std::string chosen;
    if (!UserPrompts().BrowseForFolder(::GetActiveWindow(), LocalText(IDS_COPY_IMAGES_TO), chosen) || chosen.empty())
        return;
    while (chosen.size() > 3 && chosen.back() == '\\') chosen.pop_back();
    std::vector<std::string> sources, targets, refused;
    for (int32_t index : indices) {
        if (index < 0 || index >= task_->DownloadedImages.GetCount()) continue;
        const ImageRecord& record = task_->DownloadedImages.GetAt(index);
        // Only picture files are copied: a record naming a folder or a missing file is skipped.
        if (!IsExistingFile(record.localPath)) continue;
        std::string folder;
        const std::string target =
            CopyDestination(record.localPath, record.fileName, task_->SaveFolder, chosen, &folder);
        if (target.empty()) {
            refused.push_back(record.localPath);
            continue;
        }
        if (record.localPath.size() > kMaxPictureListPath || target.size() > kMaxPictureListPath) continue;
        CreateFolderPath(folder);
        sources.push_back(record.localPath);
        targets.push_back(target);
    }
    if (!refused.empty()) TellCopiesRefused(refused);
    if (sources.empty()) return;
    const std::string from = DoubleNulList(sources);
    const std::string to = DoubleNulList(targets);
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = frame_ ? frame_->GetFrameWindow() : m_hWnd;
    operation.wFunc = FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_MULTIDESTFILES | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    UserPrompts().FileOperation(operation);
}

void ImagesContainer::TellCopiesRefused(const std::vector<std::string>& paths) {
    // The names come from the stored list: shown cut short and without control characters.
    const size_t kMostShown = 10, kLongestShown = 200;
    std::string text = LocalText(IDS_COPY_NAMES_REFUSED);
    for (size_t i = 0; i < paths.size() && i < kMostShown; ++i) {
        std::string shown = paths[i].substr(0, kLongestShown);
        for (char& c : shown)
            if (static_cast<unsigned char>(c) < 32) c = '?';
        text += "\n" + shown + (paths[i].size() > kLongestShown ? "..." : "");
    }
    if (paths.size() > kMostShown) text += "\n(+" + std::to_string(paths.size() - kMostShown) + ")";
    UserPrompts().MessageBox(frame_ ? frame_->GetFrameWindow() : m_hWnd, text, LocalText(IDS_CAPTION_WARNING),
                             MB_OK | MB_ICONWARNING);
}

void ImagesContainer::DeleteImages(const PictureIndexList& indices) {
    if (!task_ || indices.empty()) return;
    TaskOptions* const task = task_;
    ImageRecordList& records = task->DownloadedImages;
    // The pictures are named by path while the shell works: the engine may drop records
    // meanwhile, so indices are found again afterwards.
    std::vector<std::pair<int32_t, std::string>> chosen;
    std::vector<std::string> files;
    for (int32_t index : indices) {
        if (index < 0 || index >= records.GetCount()) continue;
        const std::string& path = records.GetAt(index).localPath;
        chosen.emplace_back(index, path);
        // Only existing files go to the shell: a record naming a folder must never delete it.
        if (path.size() <= kMaxPictureListPath && IsExistingFile(path)) files.push_back(path);
    }
    if (chosen.empty()) return;
    BeginProgress(0, IDS_REMOVE_IMAGES);
    bool accepted = true;
    if (!files.empty()) {
        const std::string from = DoubleNulList(files);
        SHFILEOPSTRUCTA operation = {};
        operation.hwnd = frame_ ? frame_->GetFrameWindow() : m_hWnd;
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_MULTIDESTFILES | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
        int result = 0;
        // Under Wine the shell takes milliseconds a file: the window answers meanwhile.
        RunWhileAnswering(operation.hwnd, [&operation, &result] { result = UserPrompts().FileOperation(operation); });
        if (operation.fAnyOperationsAborted || task_ != task) {
            EndProgress();
            return;
        }
        accepted = result == 0;
    }
    // Files the shell accepted to delete are gone for the user even where a reader still holds
    // one open (under Wine it stays on the disk until the reader lets go). When the shell
    // failed part way, what is left on the disk says which it deleted.
    std::sort(files.begin(), files.end());
    PictureIndexList removed;
    for (const auto& entry : chosen) {
        const bool deleted = accepted && std::binary_search(files.begin(), files.end(), entry.second);
        if (!deleted && IsExistingFile(entry.second)) continue;
        int index = entry.first;
        if (index >= records.GetCount() || records.GetAt(index).localPath != entry.second)
            index = records.FindByLocalPath(entry.second);
        if (index >= 0) removed.push_back(index);
    }
    std::sort(removed.begin(), removed.end());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    if (!removed.empty()) {
        // The records, the list on disk and both views follow in one go; the list on disk at
        // once, so a crash cannot bring deleted pictures back.
        records.RemoveIndices(removed);
        task->SaveDownloads();
        listView_.RemoveIndices(removed);
        thumbnailView_.RemoveIndices(removed);
        if (frame_)
            if (ITasksTreeView* tree = frame_->GetDownloadViews().TasksTree()) tree->RefreshTaskItem(task);
    }
    EndProgress();
}

void ImagesContainer::DeleteSelected() {
    PictureIndexList indices;
    VisibleSelection(indices);
    DeleteImages(indices);
}

void ImagesContainer::DeleteFocused() {
    const int focused = VisibleFocusedIndex();
    if (focused >= 0) DeleteImages(PictureIndexList{focused});
}

void ImagesContainer::ShowImageInformation() {
    if (!task_) return;
    const int index = VisibleFocusedIndex();
    if (index < 0 || index >= task_->DownloadedImages.GetCount()) return;
    const ImageRecord record = task_->DownloadedImages.GetAt(index);
    ImageInformation dialog(LocalText(IDS_IMAGE_INFORMATION_TITLE));
    dialog.SetRecord(record);
    dialog.DoModal(::GetActiveWindow());
}
