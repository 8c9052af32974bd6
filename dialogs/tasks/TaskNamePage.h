#pragma once
// What the General pages of both task kinds share: the task name edit (IDC_TASK_NAME) with the name the
// task had when the dialog opened, the name made from the task's address when the edit stays
// empty, the name written into the task whenever the page is hidden (the Save options page
// builds its default folder from it), and the checks on a typed name.
#include <string>
#include "core/TaskOptions.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "dialogs/tasks/TaskOptionsDlgInterface.h"
#include "resources/task_options_ids.h"

class TaskNamePage : public OptionsChildDlg<TaskOptions> {
public:
    TaskNamePage(UINT resourceId, TaskOptionsDlgInterface* owner) : OptionsChildDlg<TaskOptions>(resourceId), owner_(owner) {}

    void Activate(bool shown) override;

protected:
    // The name made from the task's address ("" when there is none).
    virtual std::string NameFromAddress() = 0;

    void LoadName(const TaskOptions& task);
    // What both pages load alike: the name, the cookie switch, and the address edit (addressId)
    // with "http://"; for a task of one start address, that address's sign-in and `address` in
    // the edit (then true).
    bool LoadShared(const TaskOptions& task, int addressId, const std::string& address);
    // The edit's text, else the loaded name, else the name made from the address.
    std::string ChosenName();
    // For a name typed anew (not empty, not the loaded one): false with warning IDS_TASK_NAME_TAKEN when another
    // task of the same kind has it, or with the safe-name warning when it cannot stand as a task
    // file name.
    bool ValidateNewName(const std::string& name);
    // "Site has basic authorization" and "Site has web interface authorization" exclude each
    // other: checking one clears the other; the user name and password follow the first.
    void ExcludeOtherAuthorization(int clickedId);
    void EnableCredentials();
    // The Basic-authorization switch, user name and password of a task's only start address.
    void LoadCredentials(const StartingAddress& start);
    void SaveCredentials(StartingAddress& start);
    // User name and password fit their fixed fields of the task file, or a warning says so.
    bool ValidateCredentials();

    TaskOptionsDlgInterface* owner_;
    std::string loadedName_;
};
