#pragma once
// The program's help file "Brackenfly.chm" in the program folder, opened through the prompt seam.
#include <windows.h>
#include <string>

// program folder + "Brackenfly.chm::/" + topic + ".htm>mainwin"; an empty topic gives the file alone.
std::string HelpTopicPath(const std::string& topic);
// Shows the topic (or the file's default topic); when the help does not open, a warning names
// the help file that was not found or could not be opened.
void OpenHelpTopic(HWND owner, const std::string& topic);
