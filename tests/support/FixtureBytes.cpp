#include "tests/support/FixtureBytes.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "tests/support/TestSupport.h"

namespace testsupport {

std::string FixtureBytes(const std::string& name) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadFileBytes(TestDataDir() + name, bytes)) << "fixture " << name;
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace testsupport
