#pragma once
// A picture or page that this test folder's fixtures.sh made, read whole: what a test server
// serves and what a download is compared with. Apart from TestSupport because it reports to the
// test framework, which the benches that share TestSupport do not link.
#include <string>

namespace testsupport {

// The fixture's bytes in a string; a fixture that cannot be read fails the running test.
std::string FixtureBytes(const std::string& name);

}  // namespace testsupport
