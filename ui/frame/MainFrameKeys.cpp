// The key filter of the message loop: accelerators, the menu bar's keys and the picture keys.
#include <cstring>
#include "ui/MainFrame.h"

namespace {
// An edit box (a tree label, a combo box's edit, a rich edit) takes every key as text.
bool IsTextInput(HWND window) {
    if (!window) return false;
    char name[32] = {};
    ::GetClassNameA(window, name, sizeof(name));
    return lstrcmpiA(name, "Edit") == 0 || _strnicmp(name, "RichEdit", 8) == 0;
}
}  // namespace

BOOL MainFrame::PreTranslateMessage(MSG* msg) {
    if (!m_hWnd) return FALSE;
    const bool keyMessage = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    // The menu bar sees the keys first so it knows when Alt went with another key (Alt+F1 must
    // not leave it selected); it takes nothing an accelerator would.
    if (commandBar_.PreTranslateMessage(msg)) return TRUE;
    // Only keys go further: the focus query below costs a server round trip on every message.
    if (!keyMessage) return FALSE;
    const bool typing = labelEditing_ || IsTextInput(::GetFocus());
    if (!typing && accelerators_ && ::TranslateAcceleratorA(m_hWnd, accelerators_, msg)) return TRUE;
    if (msg->message == WM_KEYDOWN && !typing && HandleKeyDown(*msg)) return TRUE;
    // The focused pane's own pre-translation passes everything on.
    return FALSE;
}

bool MainFrame::HandleKeyDown(const MSG& msg) {
    IPictureContainer& pictures = *pieces_.pictures;
    switch (msg.wParam) {
    case VK_DELETE:
        if (pieces_.tasks->HasFocus()) {
            pieces_.tasks->DeleteSelected();
            return true;
        }
        if (pictures.HasFocus()) {
            pictures.DeleteSelected();
            return true;
        }
        return false;
    case VK_ESCAPE:
        pictures.OnEscape();
        return false;
    case VK_SPACE:
        pictures.ShowNext();
        return true;
    case VK_BACK:
        pictures.ShowPrevious();
        return false;
    case VK_RETURN:
        pictures.ToggleFullScreen();
        return false;
    case VK_NEXT:
    case VK_PRIOR:
        if (pictures.IsListViewShown() || pictures.IsViewerWindowVisible()) {
            if (msg.wParam == VK_NEXT) pictures.ShowNext();
            else pictures.ShowPrevious();
        }
        return false;
    default:
        return false;
    }
}
