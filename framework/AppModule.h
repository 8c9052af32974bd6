#pragma once
// The program's module object: the one source of the module's instance handle (code and
// resources live in the one executable), the type-library id, the message loop of each UI
// thread, and the hand-over of a window object to the window procedure while it is created.
#include <windows.h>
#include <map>
#include <vector>

class CMessageLoop;

class CAppModule {
public:
    CAppModule();
    ~CAppModule();
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    // libId may be null. Safe to call again after Term.
    HRESULT Init(HINSTANCE instance, const GUID* libId = nullptr);
    void Term();

    // Before Init (tests, static constructors) the executable's own module is answered.
    HINSTANCE GetModuleInstance() const;
    const GUID& GetLibId() const { return libId_; }

    // One message loop per thread; false when the thread already has one.
    bool AddMessageLoop(CMessageLoop* loop);
    bool RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

    // A window object waits here (per thread, innermost creation last) until the first
    // message of its new window arrives and attaches it.
    void PushCreatingObject(void* object);
    void* PopCreatingObject();
    // Removes the object when creation failed before any message reached the window.
    void CancelCreatingObject(void* object);

private:
    HINSTANCE instance_ = nullptr;
    GUID libId_ = GUID();
    mutable CRITICAL_SECTION lock_;
    std::map<DWORD, CMessageLoop*> loops_;
    std::map<DWORD, std::vector<void*>> creating_;
};

extern CAppModule g_Module;
