#pragma once
// The base of the two task kinds (site scanning: SearchLinkTask; URL templates:
// ConstructLinkTask): the options both share, the start addresses, the list of saved pictures,
// the run-time flags, the virtual operations through which the download manager and the tasks
// tree drive a task without knowing its kind, and the task file and ".downloads" file.
//
// Task file: GetTasksFolder() + TaskFileName (".task" or ".task2"); side files are named after
// the whole task file name: + ".downloads" (picture list, Resume flag), + ".cache" (resume file).
#include <cstdint>
#include <string>
#include <vector>

#include "core/ImageRecord.h"
#include "core/StartingAddress.h"

class ILongOperationProgress;
class PropertyBag;
struct UrlQueueEntry;

// An optional size filter: a switch and a value (5 bytes in a task file: switch byte + int32).
struct SizeFilter {
    bool enabled = false;
    int32_t value = 0;
};

class TaskOptions {
public:
    static const char* const kTaskExtension;          // ".task"
    static const char* const kDownloadsSuffix;        // ".downloads"
    static const char* const kCacheSuffix;            // ".cache"
    // Fixed field widths of the task file's list entries.
    static const size_t kStartUrlFieldSize = 1024;
    static const size_t kCredentialFieldSize = 255;
    static const size_t kStartingAddressEntrySize = 1535;
    static const size_t kFileTypeFieldSize = 255;

    TaskOptions();
    TaskOptions(const TaskOptions&) = delete;
    TaskOptions& operator=(const TaskOptions&) = delete;

    // Virtual operations, in the order the download manager and the tasks tree know them.
    virtual ~TaskOptions();
    // Back to the start of the task's own sequence (a restart).
    virtual void Reset();
    // True when a found link is to be followed or downloaded.
    virtual bool AcceptLink(const UrlQueueEntry& entry);
    // The next address the task generates itself; false when it has none (more).
    virtual bool GetNextGeneratedUrl(std::string& url);
    virtual bool AllowRetry(int32_t retryCount);
    // Drops links found on a page that the task does not want queued.
    virtual void FilterFoundLinks(std::vector<std::string>& urls);
    // The task's own progress keys of the resume file (".cache").
    virtual void LoadProgress(PropertyBag& bag);
    virtual void SaveProgress(PropertyBag& bag);
    // The address that seeds an empty queue; "" when there is none.
    virtual std::string GetStartUrl();
    // The address shown for the task (opened in the browser by the tasks tree).
    virtual std::string GetDisplayUrl();
    virtual int GetTreeIconIndex(int stateIconIndex);
    virtual const char* GetFileExtension() const;
    // Where the login browser opens; "" when there is none.
    virtual std::string GetWebAuthorizationUrl() const;
    // Whether a run of failures with no HTTP status stops the task.
    virtual bool AbortOnRepeatedFailures() const;
    // The kind's own keys of the task file, stored between "SaveFolder" and "UseAllFileTypes".
    // Loading gives false when a value is damaged (what it held whole is taken).
    virtual void SaveOwnKeys(PropertyBag& bag) const;
    virtual bool LoadOwnKeys(PropertyBag& bag);

    // Reads the task file GetTasksFolder() + fileName and its ".downloads" file. False when the
    // file is missing, when fileName is no plain file name of that folder, or when the task file
    // or the ".downloads" file is there but cannot be read, or a folder stands in the place of the
    // ".downloads" file: told by GetLoadFailure, so the caller can name the file; the task is then
    // left out of the run. A damaged or newer file is kept
    // aside (StoredFileGuard) and gives what it holds whole; a task file that named no task is
    // named after its file.
    bool Load(const std::string& fileName);
    enum class LoadFailure { None, Unreadable, FolderInPlace };
    LoadFailure GetLoadFailure() const { return loadFailure_; }
    const std::string& GetLoadFailurePath() const { return loadFailurePath_; }
    // The message that names the file of a failed load ("" when there is nothing to tell).
    std::string DescribeLoadFailure() const;
    // Writes the task file, choosing a free file name from the task name first when the task has
    // none. False when no file name could be chosen or the file could not be written (a previous
    // file is then left as it was), or when the loaded file was damaged and no copy of it could
    // be kept.
    bool Save();
    // Writes the ".downloads" file (picture list and Resume flag); the writer's result. False too
    // while the task has no file name, and when the loaded file was damaged and no copy of it
    // could be kept.
    bool SaveDownloads();
    // Relinks pictures whose files were moved into folder (records whose file is missing and whose
    // file name with the same size lies in folder). Progress, when given, gets one step per record.
    void LocateImages(const std::string& folder, ILongOperationProgress* progress);

    // Full paths of the task's files; "" while it has no file name.
    std::string GetTaskFilePath() const;
    std::string GetDownloadsFilePath() const;
    std::string GetCacheFilePath() const;

    // Task-file keys of both kinds (what Save and Load do around the file). Reading gives false
    // when a list value is damaged (what it held whole is taken).
    void WriteTo(PropertyBag& bag) const;
    bool ReadFrom(PropertyBag& bag);

    std::string TaskName;
    std::string TaskNotes;
    std::string Cookies;
    std::vector<StartingAddress> StartingAddresses;  // the first is the task's start address
    int32_t ImageSaveType = 0;       // 0 the save folder itself; 1 and 2 mirror the server path
    std::string SaveFolder;
    bool CollectCookies = false;     // log in through the embedded browser before each start
    bool UseAllFileTypes = true;     // else only the task's own Filetypes
    std::vector<std::string> Filetypes;  // the task's own extensions, each with its dot
    SizeFilter MinimumWidth;         // pixels
    SizeFilter MinimumHeight;        // pixels
    SizeFilter MinimumSize;          // kilobytes
    SizeFilter MaximumSize;          // kilobytes
    int32_t ScanningType = 0;        // order in which found links are queued
    std::string TaskFileName;        // inside "Tasks\", with extension; "" until saved or loaded
    ImageRecordList DownloadedImages;
    bool Resume = false;             // the last run was interrupted; stored in ".downloads"
    bool Scheduled = false;          // run-time only: started and not yet finished or paused

protected:
    // The keys a task file and a download profile share, in their stored order: the file types
    // and the four size filters.
    void WriteFileTypeKeys(PropertyBag& bag) const;
    bool ReadFileTypeKeys(const PropertyBag& bag);

private:
    bool LoadDownloads();
    bool FailLoad(LoadFailure failure, const std::string& path);

    LoadFailure loadFailure_ = LoadFailure::None;
    std::string loadFailurePath_;
    bool taskFileWritable_ = true;
    bool downloadsWritable_ = true;
};
