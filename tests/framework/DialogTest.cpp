// Modal and modeless dialogs of the framework, built from templates in memory.
#include <gtest/gtest.h>
#include <windows.h>
#include "framework/DialogImpl.h"
#include "tests/framework/DialogTemplateBuilder.h"

namespace {

const WORD kEditId = 1001;

class NameDlg : public CDialogImpl<NameDlg> {
public:
    enum { IDD = 0 };  // built from a template in these tests
    LPARAM initParam = 0;
    int finals = 0;
    char typed[64] = {};

    BEGIN_MSG_MAP(NameDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_APP + 5, OnAsk)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

protected:
    void OnFinalMessage(HWND) override { ++finals; }

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL&) {
        initParam = lParam;
        ::SetDlgItemTextA(m_hWnd, kEditId, "typed by the user");
        if (lParam == 1) PostMessage(WM_COMMAND, IDOK);  // modal run: close at once
        return TRUE;
    }
    LRESULT OnAsk(UINT, WPARAM wParam, LPARAM, BOOL&) { return static_cast<LRESULT>(wParam * 2); }
    LRESULT OnOk(WORD, WORD, HWND, BOOL&) {
        ::GetDlgItemTextA(m_hWnd, kEditId, typed, sizeof(typed));
        EndDialog(IDOK);
        return 0;
    }
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
        EndDialog(IDCANCEL);
        return 0;
    }
};

testsupport::DialogTemplateBuilder NameTemplate() {
    testsupport::DialogTemplateBuilder builder("Name");
    builder.AddControl(0x0081, kEditId, "", ES_AUTOHSCROLL | WS_BORDER, 5, 5, 100, 12)
        .AddControl(0x0080, IDOK, "OK", BS_DEFPUSHBUTTON, 5, 30, 40, 14);
    return builder;
}

TEST(Dialog, ModalRunsUntilEndDialogAndReturnsItsResult) {
    NameDlg dlg;
    const auto tmpl = NameTemplate();
    EXPECT_EQ(IDOK, dlg.DoModalIndirect(tmpl.Get(), nullptr, 1));
    EXPECT_EQ(1, dlg.initParam);
    EXPECT_STREQ("typed by the user", dlg.typed);
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(1, dlg.finals);
}

TEST(Dialog, ModelessAnswersThroughMessageResultAndEndsByDestroying) {
    NameDlg dlg;
    const auto tmpl = NameTemplate();
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get(), nullptr, 77));
    EXPECT_EQ(77, dlg.initParam);
    EXPECT_FALSE(dlg.IsModal());
    // A handled message's result reaches the sender through DWLP_MSGRESULT.
    EXPECT_EQ(42, dlg.SendMessage(WM_APP + 5, 21));
    HWND hWnd = dlg.m_hWnd;
    dlg.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(1, dlg.finals);
}

TEST(Dialog, ObjectGoneBeforeItsModelessWindowDestroysIt) {
    HWND hWnd = nullptr;
    {
        NameDlg dlg;
        const auto tmpl = NameTemplate();
        hWnd = dlg.CreateIndirect(tmpl.Get(), nullptr, 0);
        ASSERT_TRUE(hWnd);
    }
    EXPECT_FALSE(::IsWindow(hWnd));
}

}  // namespace
