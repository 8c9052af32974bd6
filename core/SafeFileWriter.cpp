#include "core/SafeFileWriter.h"

#include "core/PathHelpers.h"

SafeFileWriter::SafeFileWriter(const std::string& targetPath) : target_(targetPath) {}

SafeFileWriter::~SafeFileWriter()
{
    Discard();
}

bool SafeFileWriter::Open()
{
    Discard();
    failed_ = false;
    // A read-only target is not ours to replace (a rename would replace it all the same).
    const DWORD attributes = GetFileAttributesA(target_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        failed_ = true;
        return false;
    }
    std::string folder, name;
    SplitPathAtLastBackslash(target_, folder, name);
    if (folder.empty())
        folder = ".";
    char tempName[MAX_PATH + 16] = {0};
    // GetTempFileNameA creates the (empty) file, so the name is ours until we remove it.
    if (GetTempFileNameA(folder.c_str(), "bkf", 0, tempName) == 0) {
        failed_ = true;
        return false;
    }
    temp_ = tempName;
    file_ = CreateFileA(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        DeleteFileA(temp_.c_str());
        temp_.clear();
        failed_ = true;
        return false;
    }
    return true;
}

bool SafeFileWriter::Write(const void* data, size_t size)
{
    if (failed_ || file_ == INVALID_HANDLE_VALUE) {
        failed_ = true;
        return false;
    }
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x10000000u ? 0x10000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file_, p, chunk, &written, nullptr) || written != chunk) {
            failed_ = true;
            return false;
        }
        p += chunk;
        size -= chunk;
    }
    return true;
}

bool SafeFileWriter::WriteU32(uint32_t value)
{
    const unsigned char b[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return Write(b, 4);
}

bool SafeFileWriter::WriteI32(int32_t value)
{
    return WriteU32(static_cast<uint32_t>(value));
}

bool SafeFileWriter::Commit()
{
    if (file_ == INVALID_HANDLE_VALUE || failed_) {
        Discard();
        return false;
    }
    const bool flushed = FlushFileBuffers(file_) != 0;
    const bool closed = CloseHandle(file_) != 0;
    file_ = INVALID_HANDLE_VALUE;
    if (!flushed || !closed ||
        !MoveFileExA(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failed_ = true;
        Discard();
        return false;
    }
    temp_.clear();
    return true;
}

void SafeFileWriter::CloseHandleOnly()
{
    if (file_ != INVALID_HANDLE_VALUE) {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
}

void SafeFileWriter::Discard()
{
    CloseHandleOnly();
    if (!temp_.empty()) {
        DeleteFileA(temp_.c_str());
        temp_.clear();
    }
}
