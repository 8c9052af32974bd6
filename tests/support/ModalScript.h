#pragma once
// Drives the program's real modal dialogs from a test: while the dialog's own modal loop runs,
// a thread timer hands each step, in turn, the innermost dialog of this thread (the enabled,
// visible one on top, so a nested dialog opened by an earlier step gets the next step). A step
// that opens a nested modal dialog must post its click (Click does), never send it.
#include <windows.h>
#include <deque>
#include <functional>
#include <string>

namespace testsupport {

class ModalScript {
public:
    using Step = std::function<void(HWND dialog)>;

    ModalScript& Then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    // Runs open (which shows a modal dialog and returns its result) with the steps scheduled.
    // A dialog still open after the last step, or after timeoutMs, is cancelled.
    INT_PTR Run(const std::function<INT_PTR()>& open, DWORD timeoutMs = 20000);
    // True when every step ran.
    bool Finished() const { return steps_.empty(); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::deque<Step> steps_;
    DWORD deadline_ = 0;
    int idleTicks_ = 0;
    bool inStep_ = false;  // a step that waits in a nested loop gets no ticks meanwhile
};

// The innermost visible, enabled dialog of this thread, or null.
HWND FindActiveDialog();

// What a user's click sends: a posted BN_CLICKED from the button to its dialog.
void Click(HWND dialog, int buttonId);
// A check box or radio button clicked: its state set, then the click.
void ClickCheck(HWND dialog, int buttonId, bool checked);
// Replaces an edit's text as typing does: select all, then one WM_CHAR per character.
void TypeText(HWND dialog, int editId, const std::string& text);
std::string ItemText(HWND dialog, int controlId);
std::string WindowText(HWND window);
bool IsItemEnabled(HWND dialog, int controlId);

}  // namespace testsupport
