#pragma once
// The notification-area icon of a window: add, remove, tip and balloon. Whether balloons are
// available is read from the common-controls library's version; the record handed to the shell
// is sized with the shell's own size constants (the long record with balloon fields, or the
// short one for older systems).
#include <windows.h>
#include <shellapi.h>
#include <string>

struct TrayCapabilities {
    bool balloonCapable = false;  // common controls above version 5.7
    bool oldSystem = false;       // 9x or NT 4 and older
};

// Version of comctl32 through its DllGetVersion; false when it cannot be read.
bool GetCommonControlsVersion(DWORD& major, DWORD& minor);
TrayCapabilities DetectTrayCapabilities();
bool IsBalloonCapableVersion(DWORD major, DWORD minor);
// The record size for the shell: the balloon record when balloons can be used, else the short one.
DWORD TrayRecordSize(const TrayCapabilities& capabilities);

class CTrayIcon {
public:
    void Init(const TrayCapabilities& capabilities, HICON icon, UINT id, UINT callbackMessage);
    void SetWindow(HWND window) { data_.hWnd = window; }
    const NOTIFYICONDATAA& Record() const { return data_; }
    const TrayCapabilities& Capabilities() const { return capabilities_; }
    bool CanShowBalloon() const { return capabilities_.balloonCapable && !capabilities_.oldSystem; }

    // Each answers whether the shell took the request.
    bool Add();
    bool Remove();
    // At most 127 characters are kept.
    bool SetTip(const std::string& tip);
    std::string GetTip() const { return data_.szTip; }
    // Title at most 63 characters, text at most 255, information icon.
    bool ShowBalloon(const std::string& title, const std::string& text, UINT timeoutMs);
    // The last balloon asked for, as handed to the shell.
    std::string GetBalloonTitle() const { return balloonTitle_; }
    std::string GetBalloonText() const { return balloonText_; }

private:
    NOTIFYICONDATAA data_ = {};
    TrayCapabilities capabilities_;
    std::string balloonTitle_, balloonText_;
};
