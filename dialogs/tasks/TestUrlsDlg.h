#pragma once
// "URLs": the first addresses a URL template gives, as many as the count says (1 to 1000),
// listed when the dialog opens and on "Refresh".
#include <functional>
#include <string>
#include <vector>
#include "framework/DialogImpl.h"
#include "resources/task_options_ids.h"

class TestUrlsDlg : public CDialogImpl<TestUrlsDlg> {
public:
    enum { IDD = IDD_TEST_URLS };
    static constexpr int kMinCount = 1;
    static constexpr int kMaxCount = 1000;
    static constexpr int kInitialCount = 10;

    using UrlSource = std::function<std::vector<std::string>(size_t count)>;
    explicit TestUrlsDlg(UrlSource source) : source_(std::move(source)) {}

    // The count the edit's text asks for, kept within the arrows' range.
    static int ClampCount(int typed);

    BEGIN_MSG_MAP(TestUrlsDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_TEST_REFRESH, OnRefresh)
        COMMAND_ID_HANDLER(IDOK, OnClose)
        COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRefresh(WORD, WORD, HWND, BOOL&);
    LRESULT OnClose(WORD, WORD id, HWND, BOOL&);
    void FillList();

    UrlSource source_;
};
