#include "core/SearchLinkTask.h"

#include "core/Application.h"
#include "core/FileTypes.h"
#include "core/ProgramSettings.h"
#include "core/SiteLinkTest.h"

// The site-scanning link test; the rules themselves live in SiteLinkTest.cpp. "Use all file
// types" means the settings' groups, or the built-in ones while no application runs.
bool SearchLinkTask::AcceptLink(const UrlQueueEntry& entry)
{
    ProgramSettings* settings = g_Application ? g_Application->GetSettings() : nullptr;
    if (settings)
        return AcceptSiteLink(*this, entry, settings->Filetypes);
    static const std::vector<FileTypeGroup> builtIn = DefaultFileTypeGroups();
    return AcceptSiteLink(*this, entry, builtIn);
}
