#include "dialogs/tasks/TaskNaming.h"
#include <windows.h>
#include <cstring>
#include "core/ProgramSettings.h"
#include "core/StringHelpers.h"
#include "core/TaskFileNames.h"
#include "core/TaskOptions.h"
#include "core/UrlParts.h"
#include "resources/task_options_ids.h"

namespace {
// Counters tried before giving up on a free name (a folder holding that many tasks of one host
// is not worth waiting for).
const int kMaxNameCounter = 100000;

bool IsExistingFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

unsigned TaskNameRefusal(const std::string& name, const TaskOptions& task, const std::vector<TaskOptions*>& tasks) {
    for (const TaskOptions* other : tasks) {
        if (other == &task || std::strcmp(other->GetFileExtension(), task.GetFileExtension()) != 0) continue;
        if (other->TaskName == name) return IDS_TASK_NAME_TAKEN;
    }
    // The name itself names the picture folder: a trailing dot or space would be dropped there.
    if (!IsSafeFileName(name) || !IsSafeFileName(name + task.GetFileExtension())) return IDS_TASK_NAME_UNSAFE;
    return 0;
}

unsigned FolderNameRefusal(const std::string& name) {
    if (!name.empty() && (name.back() == '.' || name.back() == ' ')) return IDS_TASK_NAME_UNSAFE;
    return 0;
}

bool IsEmptyAddress(const std::string& text) { return text.empty() || EqualsNoCase(text, "http://"); }

std::string MakeTaskNameFromUrl(const std::string& url, const std::string& extension) {
    if (IsEmptyAddress(url)) return std::string();
    UrlParts parts;
    if (!parts.Parse(url) || parts.HostName().empty()) return std::string();
    std::string host = parts.HostName();
    if (!IsSafeFileName(host + extension)) host = MakeSafeFileNameBase(host);
    const std::string folder = GetTasksFolder();
    if (!IsExistingFile(folder + host + extension)) return host;
    for (int counter = 1; counter < kMaxNameCounter; ++counter) {
        const std::string candidate = host + std::to_string(counter);
        if (!IsExistingFile(folder + candidate + extension)) return candidate;
    }
    return host;
}

std::string DefaultSaveFolder(const ProgramSettings& settings, const std::string& taskName) {
    std::string folder = settings.GetImagesFolder();
    if (folder.back() != '\\') folder += '\\';
    // A name that could leave the picture folder ("..", "a\\b") is made into a plain one.
    return folder + (IsSafeFileName(taskName) ? taskName : MakeSafeFileNameBase(taskName));
}

bool IsBrowsableWebAddress(const std::string& text) {
    if (!WebSchemeLength(text)) return false;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127 || c == '"' || c == ' ') return false;
    }
    UrlParts parts;
    return parts.Parse(text) && !parts.HostName().empty();
}
