#pragma once
// Turns a static text control into a link: drawn underlined in the link colour with a hand
// cursor, it opens its address with the shell when clicked or when Space or Enter is pressed
// while it has the focus.
#include <windows.h>
#include <string>

class CHyperLink {
public:
    CHyperLink() = default;
    ~CHyperLink();
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;

    // The control keeps its text; an empty address opens the text itself.
    bool SubclassWindow(HWND control, const std::string& address);
    HWND GetHwnd() const { return hwnd_; }
    const std::string& GetAddress() const { return address_; }
    // Opens the address; true when the shell took it.
    bool Navigate();

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT OnPaint();

    HWND hwnd_ = nullptr;
    std::string address_;
    HFONT font_ = nullptr;
};
