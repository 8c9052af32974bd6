// A paint that runs out of memory part-way, at every allocation in turn, ends with a report and
// gives back every device context, GDI object and paint it took.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/monitor/MonitorHarness.h"
#include "tests/support/ControlledAllocation.h"
#include "tests/support/GdiLedger.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"

namespace {

const long kMostAllocations = 200;

class FailurePathTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness_.reset(new testsupport::MonitorHarness(dir_.Path()));
        ASSERT_TRUE(harness_->Create());
    }
    void TearDown() override {
        testsupport::DisarmAllocationFailure();
        harness_.reset();
    }

    // Runs `step` once with the `skip`-th allocation failing; false when the step made fewer
    // allocations (nothing failed). Checks that every counted resource came back.
    template <class Step>
    bool FailsPartWay(long skip, const testsupport::GdiLedger& ledger, Step step) {
        const testsupport::GdiCounts before = ledger.Counts();
        const size_t reports = prompts_.boxes.size();
        testsupport::FailAllocationAfter(skip);
        step();
        testsupport::DisarmAllocationFailure();
        const bool failed = testsupport::AllocationFailed();
        const testsupport::GdiCounts after = ledger.Counts();
        EXPECT_EQ(before.deviceContexts, after.deviceContexts) << "allocation " << skip;
        EXPECT_EQ(before.objects, after.objects) << "allocation " << skip;
        EXPECT_EQ(before.paints, after.paints) << "allocation " << skip;
        EXPECT_EQ(before.menus, after.menus) << "allocation " << skip;
        if (failed) {
            EXPECT_EQ(reports + 1, prompts_.boxes.size()) << "one report for allocation " << skip;
        }
        return failed;
    }

    testsupport::ScratchDir dir_;
    testsupport::ScriptedPrompts prompts_;
    std::unique_ptr<testsupport::MonitorHarness> harness_;
};

}  // namespace

TEST_F(FailurePathTest, AGraphPaintThatRunsOutOfMemoryGivesBackItsBufferAndEndsThePaint) {
    testsupport::GdiLedger ledger;
    ASSERT_TRUE(ledger.Ok());
    testsupport::ClickTab(harness_->host, ViewHost::kStatisticsTab);
    DownloadGraph& graph = harness_->stats.Graph();
    ::UpdateWindow(graph);  // the first paint makes the graph's own pens and brushes
    RECT client = {};
    ::GetClientRect(graph, &client);
    ASSERT_GT(client.right, 0);

    long failures = 0;
    for (long skip = 0; skip < kMostAllocations; ++skip) {
        const bool failed = FailsPartWay(skip, ledger, [&] {
            ::InvalidateRect(graph, nullptr, FALSE);
            ::UpdateWindow(graph);
        });
        if (!failed) break;
        ++failures;
    }
    EXPECT_GT(failures, 0) << "the paint allocates, so some step of it must have failed";
    EXPECT_TRUE(::IsWindow(graph));
    EXPECT_EQ(FALSE, ::GetUpdateRect(graph, nullptr, FALSE));
}
