#pragma once
// One start address of a task, with its own Basic-authorization switch and credentials.
#include <string>

struct StartingAddress {
    std::string Url;
    bool UseAuthorization = false;
    std::string UserName;
    std::string Password;  // stored as plain text in the task file
};
