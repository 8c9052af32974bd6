#include "dialogs/common/HelpTopic.h"
#include "core/AppDirectory.h"
#include "framework/UserPrompts.h"

std::string HelpTopicPath(const std::string& topic) {
    std::string path = GetAppDirectory() + "Brackenfly.chm";
    if (!topic.empty()) path += "::/" + topic + ".htm>mainwin";
    return path;
}

void OpenHelpTopic(HWND owner, const std::string& topic) { UserPrompts().ShowHelp(owner, HelpTopicPath(topic)); }
