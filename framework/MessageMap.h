#pragma once
// Message maps: a class lists the messages it handles between BEGIN_MSG_MAP and END_MSG_MAP;
// the macros build its ProcessWindowMessage. A handler sets bHandled to FALSE to let the
// message go on to the next entry (and finally to the default handling).
//
// Handler signatures:
//   LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
//   LRESULT OnCommand(WORD notifyCode, WORD id, HWND control, BOOL& bHandled);
//   LRESULT OnNotify(int idCtrl, LPNMHDR header, BOOL& bHandled);
#include <windows.h>

class CMessageMap {
public:
    // TRUE when the message was handled; result then holds the window procedure's answer.
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) = 0;
protected:
    ~CMessageMap() = default;
};

#define BEGIN_MSG_MAP(theClass)                                                              \
public:                                                                                      \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,            \
                              LRESULT& lResult) {                                            \
        BOOL bHandled = TRUE;                                                                \
        (void)hWnd; (void)uMsg; (void)wParam; (void)lParam; (void)lResult; (void)bHandled;

#define END_MSG_MAP() \
        return FALSE; \
    }

#define MESSAGE_HANDLER(msg, func)                             \
    if (uMsg == (msg)) {                                       \
        bHandled = TRUE;                                       \
        lResult = func(uMsg, wParam, lParam, bHandled);        \
        if (bHandled) return TRUE;                             \
    }

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func)         \
    if (uMsg >= (msgFirst) && uMsg <= (msgLast)) {             \
        bHandled = TRUE;                                       \
        lResult = func(uMsg, wParam, lParam, bHandled);        \
        if (bHandled) return TRUE;                             \
    }

#define COMMAND_HANDLER(id, notifyCode, func)                                                         \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (notifyCode)) {             \
        bHandled = TRUE;                                                                        \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
        if (bHandled) return TRUE;                                                              \
    }

#define COMMAND_ID_HANDLER(id, func)                                                            \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id)) {                                         \
        bHandled = TRUE;                                                                        \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
        if (bHandled) return TRUE;                                                              \
    }

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                            \
    if (uMsg == WM_COMMAND && LOWORD(wParam) >= (idFirst) && LOWORD(wParam) <= (idLast)) {      \
        bHandled = TRUE;                                                                        \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
        if (bHandled) return TRUE;                                                              \
    }

#define NOTIFY_HANDLER(id, notifyCode, func)                                                          \
    if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->idFrom == static_cast<UINT_PTR>(id) && \
        reinterpret_cast<LPNMHDR>(lParam)->code == static_cast<UINT>(notifyCode)) {                   \
        bHandled = TRUE;                                                                        \
        lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled);  \
        if (bHandled) return TRUE;                                                              \
    }

#define NOTIFY_CODE_HANDLER(notifyCode, func)                                                         \
    if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->code == static_cast<UINT>(notifyCode)) { \
        bHandled = TRUE;                                                                        \
        lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled);  \
        if (bHandled) return TRUE;                                                              \
    }

// Offers the message to a base class's map or to a member's map.
#define CHAIN_MSG_MAP(baseClass)                                                       \
    if (baseClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

#define CHAIN_MSG_MAP_MEMBER(member)                                                   \
    if ((member).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
