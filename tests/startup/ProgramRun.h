#pragma once
// The real program started as a user starts it: copied into a scratch program folder and run
// from there, its windows found by class, its end and exit code waited for.
#include <windows.h>
#include <string>

#include "tests/support/HeldFile.h"

namespace startuptest {

const DWORD kWaitMs = 60000;

// The program built beside the test programs.
std::string BuiltProgramPath();

// One run of the program from its own folder.
class ProgramRun {
public:
    ProgramRun(const std::string& folder, const std::string& arguments);
    ~ProgramRun();  // ends the process when it is still running
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return started_; }

    // A visible top-level window of the program with this class (and this title, when given),
    // waited for.
    HWND WaitForWindow(const char* className, const char* title = nullptr);
    // The first of the two classes to show a visible window; which one in className.
    HWND WaitForEither(const char* first, const char* second, std::string& className);
    // A top-level window of the program with this class, shown or hidden, as it is now.
    HWND FindWindowShownOrNot(const char* className);
    // Waits for the end of the process; its exit code, or -1 when it did not end.
    long WaitForExit();
    // Ends the process at once, as a crash would.
    void Kill();

private:
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

// The text and caption of a message box.
std::string BoxText(HWND box);
std::string BoxCaption(HWND box);

struct ToldBox {
    std::string text, caption;
};
// Starts the program in folder, expects one message box before the main window (letting go of
// releaseAfterBox, when given, as soon as the box or the window is up), answers it OK, expects
// no second box, closes the main window and expects exit code 0. What the box said; a test
// failure for each step that went otherwise.
ToldBox RunAnsweringOneBox(const std::string& folder, testsupport::HeldFile* releaseAfterBox = nullptr);

}  // namespace startuptest
