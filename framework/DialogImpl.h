#pragma once
// Base of the program's dialogs, modal or modeless, built from a dialog resource of the module
// (or from a template in memory) and driven by the object's message map.
//
//   class MyDlg : public CDialogImpl<MyDlg> {
//   public:
//       enum { IDD = 222 };
//       BEGIN_MSG_MAP(MyDlg)
//           MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
//           COMMAND_ID_HANDLER(IDOK, OnClose)
//       END_MSG_MAP()
//   };
//
// Handled messages answer through DWLP_MSGRESULT, except those whose answer is the dialog
// procedure's own return value (WM_INITDIALOG, WM_CTLCOLOR*, WM_COMPAREITEM, ...).
// WM_INITDIALOG reaches the map with the caller's init parameter as lParam.
#include <windows.h>
#include "framework/MessageMap.h"
#include "framework/Window.h"

class CDialogImplBase : public CWindow, public CMessageMap {
public:
    CDialogImplBase() = default;
    CDialogImplBase(const CDialogImplBase&) = delete;
    CDialogImplBase& operator=(const CDialogImplBase&) = delete;
    // A modeless dialog still open is detached and destroyed (see CWindowImplBase).
    virtual ~CDialogImplBase();

    INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM initParam = 0);
    HWND Create(HWND parent, LPARAM initParam = 0);
    INT_PTR DoModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent, LPARAM initParam = 0);
    HWND CreateIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent, LPARAM initParam = 0);

    // Modal: ends the dialog with the result; modeless: destroys the window.
    BOOL EndDialog(int result);
    bool IsModal() const { return modal_; }

protected:
    virtual UINT GetDialogId() const = 0;
    // Called after WM_NCDESTROY, when the handle has been cleared.
    virtual void OnFinalMessage(HWND /*hWnd*/) {}

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    bool modal_ = false;
    LPARAM initParam_ = 0;
};

template <class T>
class CDialogImpl : public CDialogImplBase {
protected:
    UINT GetDialogId() const override { return T::IDD; }
};
