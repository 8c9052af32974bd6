#pragma once
// One page at a time on the clipboard. Every press, in any browser window or process, takes its
// turn (a named mutex) before it writes the clipboard and keeps it until the program says it has
// read the page (a named event its New Task command sets), or until a bound runs out: a second
// press can then never write its page over one the program has not read yet. While a press waits
// its thread's messages go round, so the browser keeps answering.
#include <windows.h>

namespace plugin {

class HandoverTurn {
public:
    // How long a press waits for the presses before it; how long for the program's word when the
    // program runs, and when it was just started (it takes a few seconds to come up).
    static const DWORD kTurnWaitMs = 120000;
    static const DWORD kRunningReadWaitMs = 30000;
    static const DWORD kStartedReadWaitMs = 60000;

    enum class Read {
        kRead,         // the program said it read the clipboard
        kUnconfirmed,  // a program that never says (an older one) has its window: as before
        kWindowGone,   // the window asked closed without reading
        kTimedOut,
    };

    HandoverTurn();
    ~HandoverTurn();
    HandoverTurn(const HandoverTurn&) = delete;
    HandoverTurn& operator=(const HandoverTurn&) = delete;

    // Waits for the turn; false when the presses before this one took longer than kTurnWaitMs,
    // when this thread is already handing a page over (a press made while it waits), or when the
    // system objects cannot be made.
    bool Take();
    // Lets the next press have its turn: before the user is told anything, so that the presses
    // after this one never wait for a message box.
    void Give();
    // Forgets any word the program gave before: called just before the clipboard is written.
    void Begin();
    // After the New Task command was posted to `window`: waits for the program's word.
    Read WaitForRunningProgram(HWND window);
    // After the program was started: waits for the word from it (or from the running copy it hands
    // its start to).
    Read WaitForStartedProgram();

    // Whether the program behind `window` says when it has read the page.
    static bool SaysWhenRead(HWND window);

private:
    // Waits for `object` while this thread's messages go round; false after `timeoutMs`, or as
    // soon as `giveUp` says so (looked at between messages, at least every 100 ms).
    template <class GiveUp>
    bool WaitPumping(HANDLE object, DWORD timeoutMs, GiveUp giveUp);

    HANDLE lock_ = nullptr;
    HANDLE read_ = nullptr;
    bool held_ = false;
    bool quit_ = false;
    int quitCode_ = 0;
};

}  // namespace plugin
