// A command that runs out of memory part-way, at every allocation in turn: the URL test's
// "Refresh" measures each address with the list's device context while it fills the list. Each
// failure ends with one report, and the device context and the font selected into it come back.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

#include "dialogs/tasks/TestUrlsDlg.h"
#include "tests/support/ControlledAllocation.h"
#include "tests/support/GdiLedger.h"
#include "tests/support/PromptSupport.h"

TEST(FailingCommand, ARefreshThatRunsOutOfMemoryGivesBackTheListsDeviceContext) {
    testsupport::ScriptedPrompts prompts;
    testsupport::GdiLedger ledger;
    ASSERT_TRUE(ledger.Ok());
    TestUrlsDlg dialog([](size_t count) {
        std::vector<std::string> urls;
        for (size_t i = 0; i < count; ++i) urls.push_back("http://www.example.com/pictures/" + std::to_string(i) + ".jpg");
        return urls;
    });
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND refresh = ::GetDlgItem(dialog, IDC_TEST_REFRESH);
    HWND list = ::GetDlgItem(dialog, IDC_TEST_LIST);
    ASSERT_EQ(TestUrlsDlg::kInitialCount, ::SendMessageA(list, LB_GETCOUNT, 0, 0));

    long failures = 0;
    for (long skip = 0; skip < 400; ++skip) {
        const testsupport::GdiCounts before = ledger.Counts();
        const size_t reports = prompts.boxes.size();
        testsupport::FailAllocationAfter(skip);
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TEST_REFRESH, BN_CLICKED), reinterpret_cast<LPARAM>(refresh));
        testsupport::DisarmAllocationFailure();
        const testsupport::GdiCounts after = ledger.Counts();
        EXPECT_EQ(before.deviceContexts, after.deviceContexts) << "allocation " << skip;
        EXPECT_EQ(before.objects, after.objects) << "allocation " << skip;
        if (!testsupport::AllocationFailed()) break;
        ++failures;
        EXPECT_EQ(reports + 1, prompts.boxes.size()) << "allocation " << skip;
    }
    EXPECT_GT(failures, TestUrlsDlg::kInitialCount) << "every address's text is an allocation";
    // With memory enough, the list is whole again.
    EXPECT_EQ(TestUrlsDlg::kInitialCount, ::SendMessageA(list, LB_GETCOUNT, 0, 0));
    dialog.DestroyWindow();
}
