#pragma once
// Work of seconds that a window's command waits for (the shell deleting a thousand files under
// Wine) runs on a thread of its own while this thread goes on answering, as under a modal dialog:
// sent messages, paints, timers and posted notices are handled. `owner` is disabled meanwhile and
// the keys and clicks that reach this thread are dropped, so no command starts on a half-done
// state; a close or command posted to `owner` or its children waits, and is posted again
// afterwards, as is a WM_QUIT for the loop outside.
// The work must not touch this thread's windows except by SendMessage.
#include <windows.h>
#include <functional>

void RunWhileAnswering(HWND owner, const std::function<void()>& work);
