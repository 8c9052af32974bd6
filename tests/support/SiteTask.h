#pragma once
// A site-scanning task as the window tests run it against a local server: one start address,
// pictures saved straight into "<folder>Images", no size filters, saved to its files.
#include <string>
#include "core/SearchLinkTask.h"

namespace testsupport {

// False when the task's files could not be written.
bool PrepareSiteTask(SearchLinkTask& task, const std::string& name, const std::string& startUrl,
                     const std::string& folder, int imageSaveType);

}  // namespace testsupport
