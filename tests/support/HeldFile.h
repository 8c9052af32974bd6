#pragma once
// A file another program holds open without sharing it: while held, no one can open, replace or
// remove it, yet it is there. Let go at Release() or at the end of the scope.
#include <string>

namespace testsupport {

class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    // False where the file could not be opened (missing, or already held).
    bool Held() const;
    void Release();

private:
    void* handle_;
};

}  // namespace testsupport
