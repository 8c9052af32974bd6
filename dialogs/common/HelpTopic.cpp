#include "dialogs/common/HelpTopic.h"
#include "core/AppDirectory.h"
#include "dialogs/common/DialogTexts.h"
#include "framework/UserPrompts.h"
#include "resources/app_ids.h"

namespace {
std::string HelpFilePath() { return GetAppDirectory() + "Brackenfly.chm"; }

// The message with the file put in place of its "%s" (a translated text is never a format).
std::string NamingFile(const std::string& message, const std::string& file) {
    std::string text = message;
    const size_t mark = text.find("%s");
    if (mark == std::string::npos) return text + " " + file;
    return text.replace(mark, 2, file);
}
}  // namespace

std::string HelpTopicPath(const std::string& topic) {
    std::string path = HelpFilePath();
    if (!topic.empty()) path += "::/" + topic + ".htm>mainwin";
    return path;
}

void OpenHelpTopic(HWND owner, const std::string& topic) {
    if (UserPrompts().ShowHelp(owner, HelpTopicPath(topic))) return;
    // Help that does nothing leaves the user guessing: say which file it looked for.
    const std::string file = HelpFilePath();
    const bool missing = ::GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES;
    ShowWarningBox(owner, NamingFile(LocalText(missing ? IDS_HELP_FILE_MISSING : IDS_HELP_FILE_UNOPENED), file));
}
