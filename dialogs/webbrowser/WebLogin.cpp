#include "dialogs/webbrowser/WebLogin.h"
#include "core/TaskOptions.h"
#include "dialogs/webbrowser/WebBrowser.h"

WebLoginResult RunWebLogin(HWND owner, const std::string& startAddress) {
    WebBrowser browser;
    browser.SetAddress(startAddress);
    WebLoginResult result;
    result.accepted = browser.DoModal(owner) == IDOK;
    if (result.accepted) {
        result.address = browser.GetAddress();
        result.cookies = browser.GetCookie();
    }
    return result;
}

bool LogInBeforeStart(HWND owner, TaskOptions& task) {
    const WebLoginResult login = RunWebLogin(owner, task.GetWebAuthorizationUrl());
    if (!login.accepted) return false;
    task.Cookies = login.cookies;
    return true;
}
