#pragma once
// One program folder, one running copy: two copies over one Tasks folder would each write the tree
// and the task files over the other's. The first copy to start in a folder holds a named mutex for
// that folder for its whole run (the system lets go of it when the process ends, however it ends,
// so a crashed copy never locks the folder). A later start hands what it was asked for to the
// running copy's main window and ends without touching any file. The running copy publishes its
// window in a small named block beside the mutex; a start that comes while the running copy has no
// window yet leaves its request in that block, and the running copy takes it once its window exists.
#include <windows.h>
#include <string>

// Posted to the running copy's main window when requests wait for it in the block: the window
// takes them (ProgramInstance::TakePending) and carries them out. Telling it twice does no harm.
const UINT WM_PROGRAM_REQUEST = WM_APP + 3;

class ProgramInstance {
public:
    // What a start asks of the running copy.
    static const LONG kShowRequest = 1;
    static const LONG kNewTaskRequest = 2;
    // How long a later start waits for a copy that is still starting, before it leaves its request
    // for that copy to take; and for a copy that is closing, before it gives up.
    static const DWORD kStartingWaitMs = 20000;
    static const DWORD kClosingWaitMs = 300000;

    explicit ProgramInstance(const std::string& programFolder);
    ~ProgramInstance();
    ProgramInstance(const ProgramInstance&) = delete;
    ProgramInstance& operator=(const ProgramInstance&) = delete;

    // True when this copy is now the folder's running copy and goes on. False when another copy
    // runs: the requests were handed to it (or left for it), and this copy ends.
    bool TakeOrHandOver(LONG requests);
    // This copy's main window exists: later starts reach it. The requests waiting for it (its own
    // start's and those of starts that came while it had no window) are then its to take.
    void Publish(HWND window);
    // The requests waiting now (told by WM_PROGRAM_REQUEST); each is taken once.
    LONG TakePending();
    // The main window is going: later starts wait for this copy's end instead.
    void Withdraw();
    // Lets the next copy in before this process has ended (after a restart's last write).
    void Release();

    // The name every copy in the same folder derives, however the folder's path was spelled.
    static std::string NameFor(const std::string& programFolder);

private:
    struct SharedBlock {
        volatile LONG window;
        volatile LONG processId;
        volatile LONG pending;
        volatile LONG closing;  // the running copy's window is gone for good
    };
    HWND PublishedWindow(DWORD* processId) const;

    HANDLE mutex_ = nullptr;
    HANDLE mapping_ = nullptr;
    SharedBlock* block_ = nullptr;
    bool owned_ = false;
};
