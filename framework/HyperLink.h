#pragma once
// Turns a static control of a dialog into a link: its text drawn underlined in the link colour
// on the dialog's own background, a hand cursor, and a click that opens the target through the
// shell (UserPrompts), as does Space or Enter while it has the focus. A link without a target is
// drawn as plain text and opens nothing.
#include <windows.h>
#include <string>
#include "framework/GdiHolders.h"
#include "framework/Window.h"

class CHyperLink : public CWindow {
public:
    static constexpr COLORREF kLinkColor = RGB(0, 0, 238);

    CHyperLink() = default;
    ~CHyperLink();
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;

    // The control keeps its text; `target` is what a click opens. pathEllipsis: a long text
    // loses its middle (for file paths) instead of its end.
    bool Attach(HWND control, const std::string& target, bool pathEllipsis = false);
    void Detach();

    // The underlined font the link draws with.
    HFONT Font() const { return font_.Get(); }
    // What a click does; also the keyboard-free way for a caller to follow the link.
    void Open();

private:
    LRESULT OnControlMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);
    void Paint();
    void MakeFont();

    std::string target_;
    bool pathEllipsis_ = false;
    bool pressed_ = false;
    GdiObject<HFONT> font_;  // the control's font, underlined
};
