#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv) {
    // A crashing test must end the run with a failure, not wait on a Wine crash dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
