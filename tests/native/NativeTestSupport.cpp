// The test helpers the image library tests use, for a build that runs on this machine directly.
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <cstdlib>

namespace testsupport {

std::string TestDataDir()
{
    const char* dir = std::getenv("BKF_TESTDATA_UNIX");
    return dir ? dir : "";
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out)
{
    out.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

}  // namespace testsupport
