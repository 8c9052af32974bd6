#include "tests/support/Showcase.h"
#include <windows.h>
#include <cstdlib>
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

std::string ShotsFolder() {
    const char* folder = std::getenv("BKF_SHOTS");
    return folder ? std::string(folder) + "\\" : std::string();
}

void Photograph(const std::string& name) {
    PumpMessages(500);
    const std::string folder = ShotsFolder();
    WriteFileText(folder + name + ".ready", name);
    for (int i = 0; i < 300 && !FileExists(folder + name + ".done"); ++i) {
        PumpMessages(20);
        ::Sleep(20);
    }
}

}  // namespace testsupport
