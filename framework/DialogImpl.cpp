#include "framework/DialogImpl.h"
#include <new>
#include "framework/WindowProcGuard.h"
#include "framework/AppModule.h"

namespace {
const LONG_PTR kDetached = 1;

// Messages whose answer is the dialog procedure's return value itself.
bool AnswersDirectly(UINT msg) {
    switch (msg) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}
}  // namespace

CDialogImplBase::~CDialogImplBase() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, kDetached);
        HWND hWnd = m_hWnd;
        m_hWnd = nullptr;
        ::DestroyWindow(hWnd);
    }
}

INT_PTR CDialogImplBase::DoModal(HWND parent, LPARAM initParam) {
    if (m_hWnd) return -1;
    modal_ = true;
    initParam_ = initParam;
    return ::DialogBoxParamA(g_Module.GetModuleInstance(), MAKEINTRESOURCEA(GetDialogId()), parent,
                             &CDialogImplBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND CDialogImplBase::Create(HWND parent, LPARAM initParam) {
    if (m_hWnd) return nullptr;
    modal_ = false;
    initParam_ = initParam;
    return ::CreateDialogParamA(g_Module.GetModuleInstance(), MAKEINTRESOURCEA(GetDialogId()),
                                parent, &CDialogImplBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialogImplBase::DoModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent,
                                         LPARAM initParam) {
    if (m_hWnd || !dialogTemplate) return -1;
    modal_ = true;
    initParam_ = initParam;
    return ::DialogBoxIndirectParamA(g_Module.GetModuleInstance(), dialogTemplate, parent,
                                     &CDialogImplBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND CDialogImplBase::CreateIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent, LPARAM initParam) {
    if (m_hWnd || !dialogTemplate) return nullptr;
    modal_ = false;
    initParam_ = initParam;
    return ::CreateDialogIndirectParamA(g_Module.GetModuleInstance(), dialogTemplate, parent,
                                        &CDialogImplBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialogImplBase::EndDialog(int result) {
    if (!m_hWnd) return FALSE;
    if (modal_) return ::EndDialog(m_hWnd, result);
    return ::DestroyWindow(m_hWnd);
}

INT_PTR CALLBACK CDialogImplBase::DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LONG_PTR stored = ::GetWindowLongPtrA(hWnd, DWLP_USER);
    if (stored == kDetached) return FALSE;
    auto* self = reinterpret_cast<CDialogImplBase*>(stored);
    if (!self) {
        // The object arrives with WM_INITDIALOG; what comes before (WM_SETFONT) gets the
        // default handling.
        if (msg != WM_INITDIALOG || !lParam) return FALSE;
        self = reinterpret_cast<CDialogImplBase*>(lParam);
        self->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    if (msg == WM_INITDIALOG) lParam = self->initParam_;

    LRESULT result = 0;
    // A failed operation counts as handled with a zero answer: the dialog stays.
    const BOOL handled = GuardedCallback<BOOL>(hWnd, TRUE, [&] {
        LRESULT answer = 0;
        const BOOL taken = self->ProcessWindowMessage(hWnd, msg, wParam, lParam, answer);
        result = answer;
        return taken;
    });
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
        self->OnFinalMessage(hWnd);
        return handled;
    }
    if (!handled) return FALSE;
    if (AnswersDirectly(msg)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
