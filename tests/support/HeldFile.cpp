#include "tests/support/HeldFile.h"

#include <windows.h>

namespace testsupport {

HeldFile::HeldFile(const std::string& path)
    : handle_(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}

HeldFile::~HeldFile() { Release(); }

bool HeldFile::Held() const { return handle_ != INVALID_HANDLE_VALUE; }

void HeldFile::Release() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace testsupport
