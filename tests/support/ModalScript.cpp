#include "tests/support/ModalScript.h"

namespace testsupport {

namespace {
ModalScript* g_running = nullptr;
const UINT kTickMs = 20;

struct DialogSearch {
    HWND found = nullptr;
};

BOOL CALLBACK CheckDialog(HWND window, LPARAM data) {
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof(className));
    if (std::string(className) == "#32770" && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
        reinterpret_cast<DialogSearch*>(data)->found = window;
        return FALSE;  // windows come top of the z-order first
    }
    return TRUE;
}
}  // namespace

HWND FindActiveDialog() {
    DialogSearch search;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CheckDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

INT_PTR ModalScript::Run(const std::function<INT_PTR()>& open, DWORD timeoutMs) {
    ModalScript* previous = g_running;
    g_running = this;
    deadline_ = ::GetTickCount() + timeoutMs;
    idleTicks_ = 0;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kTickMs, &ModalScript::OnTimer);
    const INT_PTR result = open();
    ::KillTimer(nullptr, timer);
    g_running = previous;
    return result;
}

void CALLBACK ModalScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_running) g_running->Tick();
}

void ModalScript::Tick() {
    if (inStep_) return;
    HWND dialog = FindActiveDialog();
    if (!dialog) return;
    if (!steps_.empty() && static_cast<LONG>(::GetTickCount() - deadline_) < 0) {
        Step step = std::move(steps_.front());
        steps_.pop_front();
        inStep_ = true;
        step(dialog);
        inStep_ = false;
        return;
    }
    // Out of steps (or time): give the last step's messages a moment, then cancel what is open.
    if (++idleTicks_ > 10) ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

void Click(HWND dialog, int buttonId) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, buttonId)));
}

void ClickCheck(HWND dialog, int buttonId, bool checked) {
    HWND button = ::GetDlgItem(dialog, buttonId);
    const LONG_PTR style = ::GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK;
    if (style == BS_AUTORADIOBUTTON || style == BS_RADIOBUTTON) {
        // A radio click clears the others of its group.
        for (HWND other = ::GetNextDlgGroupItem(dialog, button, FALSE); other && other != button;
             other = ::GetNextDlgGroupItem(dialog, other, FALSE))
            ::SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    ::SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void TypeText(HWND dialog, int editId, const std::string& text) {
    HWND edit = ::GetDlgItem(dialog, editId);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    ::SendMessageA(edit, WM_CLEAR, 0, 0);
    for (char c : text) ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

std::string ItemText(HWND dialog, int controlId) {
    char text[1100] = {};
    ::GetDlgItemTextA(dialog, controlId, text, sizeof(text));
    return text;
}

std::string WindowText(HWND window) {
    char text[1100] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

bool IsItemEnabled(HWND dialog, int controlId) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, controlId)) != FALSE;
}

}  // namespace testsupport
