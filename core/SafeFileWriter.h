#pragma once
// Writes a file so that a failed save never destroys the previous one: the bytes go to a
// temporary file in the same folder, and only when every write succeeded does it replace the
// target (MoveFileExA with MOVEFILE_REPLACE_EXISTING). Anything short of Commit() returning
// true leaves the old file exactly as it was and removes the temporary file. A read-only target
// (or a folder of that name) is never replaced.
//
//   SafeFileWriter w(path);
//   if (!w.Open()) return false;
//   w.Write(a, n); w.Write(b, m);       // writes stop after the first failure
//   return w.Commit();
#include <cstddef>
#include <cstdint>
#include <string>

#include <windows.h>

class SafeFileWriter {
public:
    explicit SafeFileWriter(const std::string& targetPath);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file beside the target. False when the folder cannot take it.
    bool Open();
    // Appends bytes; false when this or an earlier write failed or came short.
    bool Write(const void* data, size_t size);
    bool WriteU32(uint32_t value);
    bool WriteI32(int32_t value);
    // Flushes, closes and moves the temporary file over the target. True only when every write
    // succeeded and the replacement took place.
    bool Commit();
    // Drops the temporary file; the target is left untouched.
    void Discard();

    bool Failed() const { return failed_; }
    const std::string& TargetPath() const { return target_; }

private:
    void CloseHandleOnly();

    std::string target_;
    std::string temp_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool failed_ = false;
};
