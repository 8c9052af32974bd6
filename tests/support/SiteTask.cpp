#include "tests/support/SiteTask.h"

namespace testsupport {

bool PrepareSiteTask(SearchLinkTask& task, const std::string& name, const std::string& startUrl,
                     const std::string& folder, int imageSaveType) {
    task.TaskName = name;
    StartingAddress start;
    start.Url = startUrl;
    task.StartingAddresses.push_back(start);
    task.SaveFolder = folder + "Images";
    task.ImageSaveType = imageSaveType;
    task.MinimumWidth.enabled = false;
    task.MinimumHeight.enabled = false;
    return task.Save();
}

}  // namespace testsupport
