#include "core/ProgramInstance.h"

#include "core/TextFormat.h"

#include <cstdint>
#include <vector>

namespace {

// How often a waiting start looks again at the running copy's window and its mutex.
const DWORD kLookAgainMs = 100;

// Every spelling of one folder gives one text: the full long path in upper case (the file system
// ignores case).
std::string CanonicalFolder(const std::string& folder) {
    std::vector<char> full(32768);
    const DWORD fullLength = ::GetFullPathNameA(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    std::string text = fullLength > 0 && fullLength < full.size() ? std::string(full.data(), fullLength) : folder;
    std::vector<char> longer(32768);
    const DWORD longLength = ::GetLongPathNameA(text.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
    if (longLength > 0 && longLength < longer.size()) text.assign(longer.data(), longLength);
    if (!text.empty()) ::CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    while (!text.empty() && (text.back() == '\\' || text.back() == '/')) text.pop_back();
    return text;
}

// Kernel object names allow no backslash and at most MAX_PATH characters: the folder goes in as a
// 64-bit FNV-1a hash.
std::string FolderHash(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char hex[17] = {};
    FormatInto(hex, sizeof(hex), "%08lX%08lX", static_cast<unsigned long>(hash >> 32),
                  static_cast<unsigned long>(hash & 0xFFFFFFFFu));
    return hex;
}

bool TookMutex(DWORD waitResult) { return waitResult == WAIT_OBJECT_0 || waitResult == WAIT_ABANDONED; }

}  // namespace

std::string ProgramInstance::NameFor(const std::string& programFolder) {
    return "Local\\Brackenfly.Folder." + FolderHash(CanonicalFolder(programFolder));
}

ProgramInstance::ProgramInstance(const std::string& programFolder) {
    const std::string name = NameFor(programFolder);
    mutex_ = ::CreateMutexA(nullptr, FALSE, name.c_str());
    mapping_ = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SharedBlock),
                                    (name + ".Window").c_str());
    if (mapping_)
        block_ = static_cast<SharedBlock*>(::MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedBlock)));
}

ProgramInstance::~ProgramInstance() {
    Release();
    if (block_) ::UnmapViewOfFile(block_);
    if (mapping_) ::CloseHandle(mapping_);
    if (mutex_) ::CloseHandle(mutex_);
}

bool ProgramInstance::TakeOrHandOver(LONG requests) {
    // Without the kernel objects the folder cannot be guarded: run as before rather than not at all.
    if (!mutex_ || !block_) return true;
    if (TookMutex(::WaitForSingleObject(mutex_, 0))) {
        owned_ = true;
        ::InterlockedExchange(&block_->closing, 0);
        // This copy's own window is shown as it starts; the rest waits for it like any request.
        ::InterlockedOr(&block_->pending, requests & ~kShowRequest);
        return true;
    }
    // The requests wait in the block until a running copy takes them (this one, should the
    // running copy end first).
    ::InterlockedOr(&block_->pending, requests);
    const ULONGLONG start = ::GetTickCount64();
    HWND told = nullptr;
    for (;;) {
        DWORD processId = 0;
        HWND window = PublishedWindow(&processId);
        if (window && window != told) {
            // Only the running copy can bring its window to the front, and only when this start
            // (which the user just made, so it may) lets it.
            ::AllowSetForegroundWindow(processId);
            if (::PostMessageA(window, WM_PROGRAM_REQUEST, 0, 0)) told = window;
        }
        const DWORD waited = ::WaitForSingleObject(mutex_, kLookAgainMs);
        if (TookMutex(waited)) {
            // The running copy ended before it took the requests: this copy runs and takes them.
            owned_ = true;
            ::InterlockedExchange(&block_->closing, 0);
            return true;
        }
        if (waited == WAIT_FAILED) return true;
        // Taken by the running copy (with whatever other starts asked at the same time).
        if (::InterlockedCompareExchange(&block_->pending, 0, 0) == 0) return false;
        const ULONGLONG elapsed = ::GetTickCount64() - start;
        // A copy still starting takes the requests once its window exists; one that is closing
        // (or hung) is waited for longer, so that this start runs once it has ended.
        const bool starting = !PublishedWindow(nullptr) && !::InterlockedCompareExchange(&block_->closing, 0, 0);
        if (starting && elapsed >= kStartingWaitMs) return false;
        if (elapsed >= kClosingWaitMs) return false;
    }
}

void ProgramInstance::Publish(HWND window) {
    if (!block_ || !owned_) return;
    ::InterlockedExchange(&block_->processId, static_cast<LONG>(::GetCurrentProcessId()));
    ::InterlockedExchange(&block_->window, HandleToLong(window));
}

LONG ProgramInstance::TakePending() {
    if (!block_ || !owned_) return 0;
    return ::InterlockedExchange(&block_->pending, 0);
}

void ProgramInstance::Withdraw() {
    if (!block_ || !owned_) return;
    ::InterlockedExchange(&block_->closing, 1);
    ::InterlockedExchange(&block_->window, 0);
}

void ProgramInstance::Release() {
    if (!owned_) return;
    Withdraw();
    ::ReleaseMutex(mutex_);
    owned_ = false;
}

HWND ProgramInstance::PublishedWindow(DWORD* processId) const {
    HWND window = static_cast<HWND>(LongToHandle(::InterlockedCompareExchange(&block_->window, 0, 0)));
    const DWORD publisher = static_cast<DWORD>(::InterlockedCompareExchange(&block_->processId, 0, 0));
    if (!window || !::IsWindow(window)) return nullptr;
    // A handle left by a copy that crashed may name another program's window by now.
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != publisher) return nullptr;
    if (processId) *processId = owner;
    return window;
}
