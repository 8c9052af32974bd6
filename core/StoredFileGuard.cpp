#include "core/StoredFileGuard.h"

#include <windows.h>

#include <vector>

#include "core/DownloadManagerTexts.h"
#include "framework/UserPrompts.h"
#include "resources/engine_ids.h"

namespace {

const char kDamagedSuffix[] = ".damaged";
const char kNewerSuffix[] = ".newer";
// Numbered copies end somewhere: a folder this full of them is no place for another.
const int kMaxCopies = 1000;
const DWORD kCompareChunk = 64 * 1024;

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class ReadHandle {
public:
    explicit ReadHandle(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~ReadHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    ReadHandle(const ReadHandle&) = delete;
    ReadHandle& operator=(const ReadHandle&) = delete;
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// True only when both files could be read and hold the same bytes.
bool SameBytes(const std::string& a, const std::string& b)
{
    ReadHandle first(a), second(b);
    if (!first.Valid() || !second.Valid())
        return false;
    LARGE_INTEGER sizeA, sizeB;
    if (!GetFileSizeEx(first.Get(), &sizeA) || !GetFileSizeEx(second.Get(), &sizeB) ||
        sizeA.QuadPart != sizeB.QuadPart)
        return false;
    std::vector<char> bufferA(kCompareChunk), bufferB(kCompareChunk);
    for (LONGLONG left = sizeA.QuadPart; left > 0;) {
        const DWORD want = left > kCompareChunk ? kCompareChunk : static_cast<DWORD>(left);
        DWORD gotA = 0, gotB = 0;
        if (!ReadFile(first.Get(), bufferA.data(), want, &gotA, nullptr) || gotA != want ||
            !ReadFile(second.Get(), bufferB.data(), want, &gotB, nullptr) || gotB != want ||
            memcmp(bufferA.data(), bufferB.data(), want) != 0)
            return false;
        left -= want;
    }
    return true;
}

}  // namespace

StoredFileGuard::StoredFileGuard(const std::string& path, Teller teller) : path_(path), teller_(std::move(teller)) {}

PropertyBag::LoadStatus StoredFileGuard::Load(PropertyBag& bag)
{
    const PropertyBag::LoadStatus status = bag.LoadWithStatus(path_);
    switch (status) {
    case PropertyBag::LoadStatus::Missing:
        break;
    case PropertyBag::LoadStatus::Unreadable:
        // What it holds is out of sight this run: nothing may replace it.
        mayWrite_ = false;
        handled_ = true;
        break;
    case PropertyBag::LoadStatus::Loaded:
        if (bag.IsNewerThanCurrent())
            Newer();
        break;
    default:
        Damaged();
        break;
    }
    return status;
}

void StoredFileGuard::Damaged()
{
    KeepAside(kDamagedSuffix, IDS_STORED_FILE_DAMAGED);
}

void StoredFileGuard::Newer()
{
    KeepAside(kNewerSuffix, IDS_STORED_FILE_NEWER);
}

bool StoredFileGuard::ChooseCopyName(const std::string& path, const char* suffix, std::string& copy,
                                     bool& alreadyKept)
{
    alreadyKept = false;
    for (int n = 1; n <= kMaxCopies; ++n) {
        const std::string candidate = path + suffix + (n == 1 ? std::string() : "-" + std::to_string(n));
        if (!Exists(candidate)) {
            copy = candidate;
            return true;
        }
        // These bytes were kept (and the user told) in an earlier load or an earlier run.
        if (SameBytes(path, candidate)) {
            copy = candidate;
            alreadyKept = true;
            return true;
        }
    }
    return false;
}

void StoredFileGuard::KeepAside(const char* suffix, unsigned keptTextId)
{
    if (handled_)
        return;
    handled_ = true;
    std::string copy;
    bool alreadyKept = false;
    // The copy is made without replacing anything: a name taken in between is a failure, and a
    // file that changed under us is compared again on the next load.
    if (ChooseCopyName(path_, suffix, copy, alreadyKept) &&
        (alreadyKept || CopyFileA(path_.c_str(), copy.c_str(), TRUE))) {
        keptCopy_ = copy;
        if (!alreadyKept)
            Tell(WithTexts(EngineText(keptTextId), {path_, copy}));
        return;
    }
    mayWrite_ = false;
    Tell(WithTexts(EngineText(IDS_STORED_FILE_NOT_KEPT), {path_, std::string()}));
}

void StoredFileGuard::Tell(const std::string& text) const
{
    if (teller_)
        teller_(text);
    else
        UserPrompts().MessageBox(nullptr, text, "Brackenfly", MB_OK | MB_ICONWARNING);
}
