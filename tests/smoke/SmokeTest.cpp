#include <gtest/gtest.h>
#include "tests/support/TestSupport.h"

TEST(Smoke, ScratchFolderHoldsFiles) {
    testsupport::ScratchDir dir;
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("a.txt"), "abc"));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("a.txt"), bytes));
    EXPECT_EQ(3u, bytes.size());
}
