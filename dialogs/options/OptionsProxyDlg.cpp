#include "dialogs/options/OptionsProxyDlg.h"

void OptionsProxyDlg::Load(ProgramSettings& settings) {
    ::SetDlgItemTextA(m_hWnd, IDC_PROXY_ADDRESS, settings.ProxyAddress.c_str());
    ::SetDlgItemInt(m_hWnd, IDC_PROXY_PORT, static_cast<UINT>(settings.ProxyPort), TRUE);
    ::SetDlgItemTextA(m_hWnd, IDC_PROXY_USER, settings.NameForProxy.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_PROXY_PASSWORD, settings.PasswordForProxy.c_str());
    SetItemChecked(m_hWnd, IDC_PROXY_AUTH, settings.UseProxyAuth);
    // The own proxy wins when both flags are on.
    int selected = IDC_PROXY_NONE;
    if (settings.UseWindowsProxy) selected = IDC_PROXY_SYSTEM;
    if (settings.UseMyProxy) selected = IDC_PROXY_OWN;
    ::CheckRadioButton(m_hWnd, IDC_PROXY_NONE, IDC_PROXY_OWN, selected);
    EnableControls(selected == IDC_PROXY_OWN, selected != IDC_PROXY_NONE);
}

void OptionsProxyDlg::Save(ProgramSettings& settings) {
    settings.UseMyProxy = IsItemChecked(m_hWnd, IDC_PROXY_OWN);
    settings.UseWindowsProxy = IsItemChecked(m_hWnd, IDC_PROXY_SYSTEM);
    settings.ProxyAddress = GetItemString(m_hWnd, IDC_PROXY_ADDRESS);
    settings.ProxyPort = GetItemNumber(m_hWnd, IDC_PROXY_PORT);
    settings.UseProxyAuth = IsItemChecked(m_hWnd, IDC_PROXY_AUTH);
    settings.NameForProxy = GetItemString(m_hWnd, IDC_PROXY_USER);
    settings.PasswordForProxy = GetItemString(m_hWnd, IDC_PROXY_PASSWORD);
}

bool OptionsProxyDlg::Validate() {
    if (!IsItemChecked(m_hWnd, IDC_PROXY_OWN)) return true;
    if (GetItemString(m_hWnd, IDC_PROXY_ADDRESS).empty()) return FailValidation(IDS_PROXY_ADDRESS_EMPTY);
    // A port beyond 65535 would be cut to another port by the socket.
    const int port = GetItemNumber(m_hWnd, IDC_PROXY_PORT);
    if (port <= 0 || port > 65535) return FailValidation(IDS_PROXY_PORT_INVALID);
    return true;
}

void OptionsProxyDlg::EnableControls(bool address, bool authBox) {
    EnableItem(m_hWnd, IDC_PROXY_ADDRESS, address);
    EnableItem(m_hWnd, IDC_PROXY_PORT, address);
    EnableItem(m_hWnd, IDC_PROXY_AUTH, authBox);
    const bool credentials = authBox && IsItemChecked(m_hWnd, IDC_PROXY_AUTH);
    EnableItem(m_hWnd, IDC_PROXY_USER, credentials);
    EnableItem(m_hWnd, IDC_PROXY_PASSWORD, credentials);
}

LRESULT OptionsProxyDlg::OnNoProxyClicked(WORD, WORD, HWND, BOOL&) {
    EnableControls(false, false);
    return 0;
}

LRESULT OptionsProxyDlg::OnSystemProxyClicked(WORD, WORD, HWND, BOOL&) {
    EnableControls(false, true);
    return 0;
}

LRESULT OptionsProxyDlg::OnOwnProxyClicked(WORD, WORD, HWND, BOOL&) {
    EnableControls(true, true);
    return 0;
}

LRESULT OptionsProxyDlg::OnAuthClicked(WORD, WORD, HWND, BOOL&) {
    EnableControls(IsItemChecked(m_hWnd, IDC_PROXY_OWN), true);
    return 0;
}
