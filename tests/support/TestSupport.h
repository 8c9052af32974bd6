#pragma once
// Shared helpers for the test programs: where the generated fixtures are, fresh scratch folders
// on the real disk, and whole-file reads and writes.
#include <string>
#include <vector>
#include <cstdint>

namespace testsupport {

// Folder (Windows path, trailing backslash) with what this test folder's fixtures.sh made.
std::string TestDataDir();

// A new empty folder for one test, removed with everything in it when the object dies.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    // Windows path with a trailing backslash.
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }
private:
    std::string path_;
};

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out);
// The whole file's bytes in a string; empty when it cannot be read.
std::string ReadFileText(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& data);
bool WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
void RemoveTree(const std::string& path);

// Rounds for a long randomized soak: `fullRounds`, scaled by BKF_SOAK_PERCENT (1..100) where the
// test run asks for less (the emulated 32-bit lane runs about ten times slower), at least one.
int SoakRounds(int fullRounds);

}  // namespace testsupport
