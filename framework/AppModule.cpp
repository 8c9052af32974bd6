#include "framework/AppModule.h"

CAppModule g_Module;

namespace {
class Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { ::EnterCriticalSection(&cs_); }
    ~Lock() { ::LeaveCriticalSection(&cs_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
private:
    CRITICAL_SECTION& cs_;
};
}  // namespace

CAppModule::CAppModule() { ::InitializeCriticalSection(&lock_); }

CAppModule::~CAppModule() { ::DeleteCriticalSection(&lock_); }

HRESULT CAppModule::Init(HINSTANCE instance, const GUID* libId) {
    Lock lock(lock_);
    instance_ = instance;
    libId_ = libId ? *libId : GUID();
    return S_OK;
}

void CAppModule::Term() {
    Lock lock(lock_);
    loops_.clear();
    creating_.clear();
    instance_ = nullptr;
}

HINSTANCE CAppModule::GetModuleInstance() const {
    return instance_ ? instance_ : ::GetModuleHandleA(nullptr);
}

bool CAppModule::AddMessageLoop(CMessageLoop* loop) {
    if (!loop) return false;
    Lock lock(lock_);
    return loops_.emplace(::GetCurrentThreadId(), loop).second;
}

bool CAppModule::RemoveMessageLoop() {
    Lock lock(lock_);
    return loops_.erase(::GetCurrentThreadId()) != 0;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const {
    Lock lock(lock_);
    auto it = loops_.find(threadId);
    return it == loops_.end() ? nullptr : it->second;
}

void CAppModule::PushCreatingObject(void* object) {
    Lock lock(lock_);
    creating_[::GetCurrentThreadId()].push_back(object);
}

void* CAppModule::PopCreatingObject() {
    Lock lock(lock_);
    auto it = creating_.find(::GetCurrentThreadId());
    if (it == creating_.end() || it->second.empty()) return nullptr;
    void* object = it->second.back();
    it->second.pop_back();
    if (it->second.empty()) creating_.erase(it);
    return object;
}

void CAppModule::CancelCreatingObject(void* object) {
    Lock lock(lock_);
    auto it = creating_.find(::GetCurrentThreadId());
    if (it == creating_.end()) return;
    auto& stack = it->second;
    for (size_t i = stack.size(); i-- > 0;) {
        if (stack[i] == object) {
            stack.erase(stack.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    if (stack.empty()) creating_.erase(it);
}
