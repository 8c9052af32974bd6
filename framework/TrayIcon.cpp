#include "framework/TrayIcon.h"
#include <shlwapi.h>
#include <algorithm>
#include <cstring>

namespace {
void CopyBounded(char* target, size_t capacity, const std::string& text) {
    const size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}
}  // namespace

bool GetCommonControlsVersion(DWORD& major, DWORD& minor) {
    HMODULE library = ::LoadLibraryA("comctl32.dll");
    if (!library) return false;
    bool ok = false;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(::GetProcAddress(library, "DllGetVersion")));
    if (getVersion) {
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof(info);
        if (SUCCEEDED(getVersion(&info))) {
            major = info.dwMajorVersion;
            minor = info.dwMinorVersion;
            ok = true;
        }
    }
    ::FreeLibrary(library);
    return ok;
}

bool IsBalloonCapableVersion(DWORD major, DWORD minor) { return major > 5 || (major == 5 && minor > 7); }

TrayCapabilities DetectTrayCapabilities() {
    TrayCapabilities result;
    DWORD major = 0, minor = 0;
    result.balloonCapable = GetCommonControlsVersion(major, minor) && IsBalloonCapableVersion(major, minor);
    OSVERSIONINFOA os = {};
    os.dwOSVersionInfoSize = sizeof(os);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (::GetVersionExA(&os))
        result.oldSystem = os.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS || os.dwMajorVersion <= 4;
#pragma GCC diagnostic pop
    return result;
}

DWORD TrayRecordSize(const TrayCapabilities& capabilities) {
    return capabilities.balloonCapable && !capabilities.oldSystem ? NOTIFYICONDATAA_V2_SIZE
                                                                  : NOTIFYICONDATAA_V1_SIZE;
}

void CTrayIcon::Init(const TrayCapabilities& capabilities, HICON icon, UINT id, UINT callbackMessage) {
    capabilities_ = capabilities;
    std::memset(&data_, 0, sizeof(data_));
    data_.cbSize = TrayRecordSize(capabilities);
    data_.uID = id;
    data_.uCallbackMessage = callbackMessage;
    data_.uFlags = NIF_MESSAGE | NIF_ICON;
    data_.hIcon = icon;
}

bool CTrayIcon::Add() { return ::Shell_NotifyIconA(NIM_ADD, &data_) != FALSE; }

bool CTrayIcon::Remove() { return ::Shell_NotifyIconA(NIM_DELETE, &data_) != FALSE; }

bool CTrayIcon::SetTip(const std::string& tip) {
    CopyBounded(data_.szTip, sizeof(data_.szTip), tip);
    data_.uFlags |= NIF_TIP;
    return ::Shell_NotifyIconA(NIM_MODIFY, &data_) != FALSE;
}

bool CTrayIcon::ShowBalloon(const std::string& title, const std::string& text, UINT timeoutMs) {
    NOTIFYICONDATAA balloon = data_;
    balloon.uFlags |= NIF_INFO;
    balloon.dwInfoFlags = NIIF_INFO;
    CopyBounded(balloon.szInfoTitle, 64, title);
    CopyBounded(balloon.szInfo, 256, text);
    balloon.uTimeout = timeoutMs;
    balloonTitle_ = balloon.szInfoTitle;
    balloonText_ = balloon.szInfo;
    return ::Shell_NotifyIconA(NIM_MODIFY, &balloon) != FALSE;
}
