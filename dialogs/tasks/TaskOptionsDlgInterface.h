#pragma once
// What the pages of both task dialogs reach through their owner: the task being edited, the
// application (settings, profiles, file-type groups), the download profiles (only the
// site-scanning dialog has them) and the other tasks of the tasks tree for the name check.
#include <string>
#include <vector>

class Application;
class TaskOptions;

class TaskOptionsDlgInterface {
public:
    virtual TaskOptions* GetTask() = 0;
    virtual Application* GetApplication() = 0;
    // The name of the first saved profile equal to what the profile pages hold now, or "".
    virtual std::string FindMatchingProfile() = 0;
    // Validate of the profile pages in order; false at the first failure.
    virtual bool ValidateProfilePages() = 0;
    // Saves a new profile (replacing one of that name) from the profile pages; false (after the
    // error box) when its file could not be written.
    virtual bool SaveProfileAs(const std::string& name) = 0;
    // Loads the profile pages from the named profile; nothing when there is none.
    virtual void ApplyProfile(const std::string& name) = 0;
    // The URL Template page was shown (true) or hidden.
    virtual void OnUrlTemplateShown(bool shown) = 0;
    // The tasks of the tasks tree (the edited one may be among them).
    virtual const std::vector<TaskOptions*>& GetTaskList() = 0;

protected:
    ~TaskOptionsDlgInterface() = default;
};
