#include "tests/support/AnswerWatcher.h"

namespace testsupport {

AnswerWatcher::AnswerWatcher(HWND window) : window_(window) {
    thread_ = ::CreateThread(nullptr, 0, &Run, this, 0, nullptr);
}

AnswerWatcher::~AnswerWatcher() { Stop(); }

DWORD AnswerWatcher::Stop() {
    if (thread_) {
        ::InterlockedExchange(&stop_, 1);
        // The thread's last send is answered by the pump of whoever called us, or times out.
        while (::MsgWaitForMultipleObjects(1, &thread_, FALSE, 20000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        ::CloseHandle(thread_);
        thread_ = nullptr;
    }
    return longest_;
}

DWORD WINAPI AnswerWatcher::Run(void* parameter) {
    AnswerWatcher* self = static_cast<AnswerWatcher*>(parameter);
    while (!self->stop_) {
        const DWORD start = ::GetTickCount();
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutA(self->window_, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &result)) break;
        const DWORD waited = ::GetTickCount() - start;
        if (waited > self->longest_) self->longest_ = waited;
        ++self->answers_;
        ::Sleep(5);
    }
    return 0;
}

}  // namespace testsupport
