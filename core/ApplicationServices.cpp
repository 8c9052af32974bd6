// The application object's services that the engine and the views use: the settings record and
// the file-type groups. No window code, so the engine links without the window layer.
#include "core/Application.h"
#include <cstring>
#include "core/FileTypes.h"
#include "core/ProgramSettings.h"
#include "core/TaskOptions.h"
#include "resources/plugin_handover.h"

Application* g_Application = nullptr;

Application::Application(ProgramSettings* settings) : settings_(settings) {}

bool Application::AsksForNewTask(const char* commandLine) {
    return commandLine &&
           _strnicmp(commandLine, handover::kNewTaskArgument, sizeof(handover::kNewTaskArgument) - 1) == 0;
}

bool Application::SaveSettings() { return settings_ && settings_->Save(); }

bool Application::IsKnownFileType(const char* url, std::string* extension) {
    return ::IsKnownFileType(settings_->Filetypes, url ? url : "", extension);
}

void Application::RemoveUnknownFileTypes(TaskOptions* task) {
    if (task) ::RemoveUnknownFileTypes(settings_->Filetypes, task->Filetypes);
}
