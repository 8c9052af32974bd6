#include "core/TaskOptions.h"

#include <windows.h>

#include "core/DownloadManagerTexts.h"
#include "core/ILongOperationProgress.h"
#include "core/ImageRecordBlob.h"
#include "core/PropertyBag.h"
#include "core/StoredFileGuard.h"
#include "core/TaskFileNames.h"
#include "core/TaskListBlobs.h"
#include "resources/engine_ids.h"

const char* const TaskOptions::kTaskExtension = ".task";
const char* const TaskOptions::kDownloadsSuffix = ".downloads";
const char* const TaskOptions::kCacheSuffix = ".cache";

TaskOptions::TaskOptions()
{
    MinimumWidth = {true, 200};
    MinimumHeight = {true, 200};
    MinimumSize = {false, 1};
    MaximumSize = {false, 1000};
}

TaskOptions::~TaskOptions() = default;

void TaskOptions::Reset() {}

bool TaskOptions::AcceptLink(const UrlQueueEntry&)
{
    return true;
}

bool TaskOptions::GetNextGeneratedUrl(std::string&)
{
    return false;
}

bool TaskOptions::AllowRetry(int32_t)
{
    return true;
}

void TaskOptions::FilterFoundLinks(std::vector<std::string>&) {}

void TaskOptions::LoadProgress(PropertyBag&) {}

void TaskOptions::SaveProgress(PropertyBag&) {}

std::string TaskOptions::GetStartUrl()
{
    return StartingAddresses.empty() ? std::string() : StartingAddresses.front().Url;
}

std::string TaskOptions::GetDisplayUrl()
{
    return GetStartUrl();
}

int TaskOptions::GetTreeIconIndex(int stateIconIndex)
{
    return stateIconIndex;
}

const char* TaskOptions::GetFileExtension() const
{
    return kTaskExtension;
}

std::string TaskOptions::GetWebAuthorizationUrl() const
{
    return StartingAddresses.empty() ? std::string() : StartingAddresses.front().Url;
}

bool TaskOptions::AbortOnRepeatedFailures() const
{
    return true;
}

void TaskOptions::SaveOwnKeys(PropertyBag&) const {}

bool TaskOptions::LoadOwnKeys(PropertyBag&) { return true; }

std::string TaskOptions::GetTaskFilePath() const
{
    return TaskFileName.empty() ? std::string() : GetTasksFolder() + TaskFileName;
}

std::string TaskOptions::GetDownloadsFilePath() const
{
    return TaskFileName.empty() ? std::string() : GetTasksFolder() + TaskFileName + kDownloadsSuffix;
}

std::string TaskOptions::GetCacheFilePath() const
{
    return TaskFileName.empty() ? std::string() : GetTasksFolder() + TaskFileName + kCacheSuffix;
}

void TaskOptions::WriteTo(PropertyBag& bag) const
{
    bag.SetString("TaskName", TaskName);
    bag.SetString("TaskNotes", TaskNotes);
    bag.SetString("Cookies", Cookies);
    bag.SetFlag("CollectCookies", CollectCookies);
    bag.SetInt32("ScanningType", ScanningType);
    bag.SetBlob("StartingAddresses", EncodeStartingAddresses(StartingAddresses));
    bag.SetInt32("ImageSaveType", ImageSaveType);
    bag.SetString("SaveFolder", SaveFolder);
    SaveOwnKeys(bag);
    WriteFileTypeKeys(bag);
}

void TaskOptions::WriteFileTypeKeys(PropertyBag& bag) const
{
    bag.SetFlag("UseAllFileTypes", UseAllFileTypes);
    SetFixedStringList(bag, "Filetypes", Filetypes, kFileTypeFieldSize);
    SetSizeFilter(bag, "MinimumWidth", MinimumWidth);
    SetSizeFilter(bag, "MinimumHeight", MinimumHeight);
    SetSizeFilter(bag, "MinimumSize", MinimumSize);
    SetSizeFilter(bag, "MaximumSize", MaximumSize);
}

bool TaskOptions::ReadFileTypeKeys(const PropertyBag& bag)
{
    bag.GetFlag("UseAllFileTypes", UseAllFileTypes);
    const bool whole = GetFixedStringList(bag, "Filetypes", kFileTypeFieldSize, Filetypes);
    GetSizeFilter(bag, "MinimumWidth", MinimumWidth);
    GetSizeFilter(bag, "MinimumHeight", MinimumHeight);
    GetSizeFilter(bag, "MinimumSize", MinimumSize);
    GetSizeFilter(bag, "MaximumSize", MaximumSize);
    return whole;
}

bool TaskOptions::ReadFrom(PropertyBag& bag)
{
    bag.GetString("TaskName", TaskName);
    bag.GetString("TaskNotes", TaskNotes);
    bag.GetString("Cookies", Cookies);
    bag.GetFlag("CollectCookies", CollectCookies);
    bag.GetInt32("ScanningType", ScanningType);
    std::vector<uint8_t> blob;
    bool whole = true;
    if (bag.GetBlob("StartingAddresses", blob) && !DecodeStartingAddresses(blob, StartingAddresses))
        whole = false;
    bag.GetInt32("ImageSaveType", ImageSaveType);
    bag.GetString("SaveFolder", SaveFolder);
    if (!LoadOwnKeys(bag))
        whole = false;
    if (!ReadFileTypeKeys(bag))
        whole = false;
    return whole;
}

bool TaskOptions::Save()
{
    // A task file that could neither be read whole nor kept aside is the user's only copy.
    if (!taskFileWritable_)
        return false;
    if (TaskFileName.empty()) {
        const std::string wanted = GetTasksFolder() + MakeSafeFileNameBase(TaskName) + GetFileExtension();
        TaskFileName = CreateUniqueFile(wanted, {kDownloadsSuffix, kCacheSuffix});
        if (TaskFileName.empty())
            return false;
    }
    PropertyBag bag;
    bag.SetCurrentVersion();
    WriteTo(bag);
    return bag.Save(GetTaskFilePath());
}

bool TaskOptions::Load(const std::string& fileName)
{
    loadFailure_ = LoadFailure::None;
    loadFailurePath_.clear();
    // The name may come from the tree file: it must name a file inside "Tasks\" and nothing else.
    if (!IsSafeFileName(fileName))
        return false;
    TaskFileName = fileName;
    PropertyBag bag;
    const std::string path = GetTaskFilePath();
    StoredFileGuard guard(path);
    const PropertyBag::LoadStatus status = guard.Load(bag);
    if (status == PropertyBag::LoadStatus::Unreadable)
        return FailLoad(LoadFailure::Unreadable, path);
    if (status == PropertyBag::LoadStatus::Missing)
        return false;
    // A damaged or newer file gives what it holds whole; its copy is kept aside.
    if (!ReadFrom(bag))
        guard.Damaged();
    taskFileWritable_ = guard.MayWrite();
    if (TaskName.empty() && status != PropertyBag::LoadStatus::Loaded) {
        // The damage took the task's name: its file name names it, so the user finds it in the tree.
        TaskName = fileName.substr(0, fileName.rfind('.'));
    }
    return LoadDownloads();
}

bool TaskOptions::FailLoad(LoadFailure failure, const std::string& path)
{
    loadFailure_ = failure;
    loadFailurePath_ = path;
    return false;
}

bool TaskOptions::LoadDownloads()
{
    PropertyBag bag;
    const std::string path = GetDownloadsFilePath();
    // A missing file is the ordinary case of a task never run. One that is there but cannot be
    // read holds the task's pictures: the task is left out rather than saved later with an empty
    // list over it. A damaged or newer one gives the records it holds whole, once kept aside.
    // A folder in its place reads as no file, but the list could never be written there: the
    // pictures of a run would be lost at close.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FailLoad(LoadFailure::FolderInPlace, path);
    StoredFileGuard guard(path);
    const PropertyBag::LoadStatus status = guard.Load(bag);
    if (status == PropertyBag::LoadStatus::Unreadable)
        return FailLoad(LoadFailure::Unreadable, path);
    bag.GetFlag("Resume", Resume);
    const PropertyBagValue* value = bag.Find("DownloadedImages");
    // A file cut inside the list still holds the records before the cut.
    if (!value && bag.CutValue() && bag.CutValue()->GetName() == "DownloadedImages")
        value = bag.CutValue();
    if (value) {
        if (!DecodeImageRecords(value->GetData(), value->GetSize(),
                                ImageRecordsHaveFlag(bag.versionMajor, bag.versionMinor), DownloadedImages))
            guard.Damaged();
    }
    downloadsWritable_ = guard.MayWrite();
    return true;
}

bool TaskOptions::SaveDownloads()
{
    if (TaskFileName.empty() || !downloadsWritable_)
        return false;
    PropertyBag bag;
    bag.SetCurrentVersion();
    bag.SetBlob("DownloadedImages", EncodeImageRecords(DownloadedImages));
    bag.SetFlag("Resume", Resume);
    return bag.Save(GetDownloadsFilePath());
}

void TaskOptions::LocateImages(const std::string& folder, ILongOperationProgress* progress)
{
    if (progress)
        progress->BeginProgress(DownloadedImages.GetCount(), "Locate images");
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '\\')
        prefix += '\\';
    for (int i = 0; i < DownloadedImages.GetCount(); ++i) {
        ImageRecord& record = DownloadedImages.GetAt(i);
        const DWORD attributes = GetFileAttributesA(record.localPath.c_str());
        const bool present = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        // Only a plain file name is looked for: a stored name must not lead out of the folder.
        if (!present && IsSafeFileName(record.fileName)) {
            const std::string candidate = prefix + record.fileName;
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (GetFileAttributesExA(candidate.c_str(), GetFileExInfoStandard, &data) &&
                !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.nFileSizeHigh == 0 &&
                data.nFileSizeLow == static_cast<DWORD>(static_cast<uint32_t>(record.fileSize))) {
                record.localPath = candidate;
            }
        }
        if (progress)
            progress->StepProgress();
    }
    if (progress)
        progress->EndProgress();
}

std::string TaskOptions::DescribeLoadFailure() const
{
    switch (loadFailure_) {
    case LoadFailure::Unreadable: return WithTaskName(EngineText(IDS_FILE_UNREADABLE), loadFailurePath_);
    case LoadFailure::FolderInPlace: return WithTaskName(EngineText(IDS_FOLDER_IN_FILE_PLACE), loadFailurePath_);
    default: return std::string();
    }
}
