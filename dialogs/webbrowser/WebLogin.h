#pragma once
// The login step before a task that collects cookies is queued: the login browser opens modally
// over owner at the task's web-authorization address (the browser's home page when the task has
// none) and the user logs in to the site.
#include <windows.h>
#include <string>

class TaskOptions;

struct WebLoginResult {
    bool accepted = false;  // the user pressed OK
    std::string address;    // the page shown at OK
    std::string cookies;    // its cookie string; "" when it has none
};

// Runs the login browser at startAddress ("" for the home page).
WebLoginResult RunWebLogin(HWND owner, const std::string& startAddress);

// Runs the login browser for task. True on OK: the task's Cookies are then the page's cookie
// string. False on anything else: the task is left as it was and must not start.
bool LogInBeforeStart(HWND owner, TaskOptions& task);
