#pragma once
// The UI thread's message loop. Message filters see every message before it is translated and
// dispatched (a filter that returns TRUE swallows it); idle handlers run once each time the
// queue runs dry after input or other work.
#include <windows.h>
#include <vector>

class CMessageFilter {
public:
    virtual BOOL PreTranslateMessage(MSG* msg) = 0;
protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
public:
    // The result is for the handler's own use; every handler runs once per idle period.
    virtual BOOL OnIdle() = 0;
protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
public:
    bool AddMessageFilter(CMessageFilter* filter);
    bool RemoveMessageFilter(CMessageFilter* filter);
    bool AddIdleHandler(CIdleHandler* handler);
    bool RemoveIdleHandler(CIdleHandler* handler);

    // Runs until WM_QUIT and returns its wParam.
    int Run();

    // The most recently added filter is asked first.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Calls every idle handler in the order added; TRUE asks the loop to idle again at once.
    virtual BOOL OnIdle(int idleCount);

    virtual ~CMessageLoop() = default;

protected:
    // False for messages that must not start a new idle period: a mouse move to the same
    // place, painting, the caret's system timer.
    bool IsIdleMessage(const MSG& msg);

private:
    std::vector<CMessageFilter*> filters_;
    std::vector<CIdleHandler*> idleHandlers_;
    POINT lastMouse_ = {-1, -1};
    UINT lastMouseMessage_ = 0;
};
