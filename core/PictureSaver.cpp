#include "core/PictureSaver.h"

#include "core/PathHelpers.h"
#include "core/StringHelpers.h"
#include "core/TaskFileNames.h"
#include "core/TextFormat.h"
#include "core/UrlParts.h"

#include <windows.h>
#include <cstring>
#include <vector>

namespace {

bool IsForbidden(unsigned char c) {
    return c < 32 || c == 127 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
           c == '<' || c == '>' || c == '|';
}

// The full, normalised form of a path ("a\.\b\..\c" -> "a\c"), with a trailing backslash.
std::string FullFolderPath(const std::string& path) {
    char buffer[MAX_PATH * 4];
    DWORD n = GetFullPathNameA(path.c_str(), sizeof(buffer), buffer, nullptr);
    if (n == 0 || n >= sizeof(buffer)) return std::string();
    std::string full(buffer, n);
    if (full.back() != '\\') full += '\\';
    return full;
}

// Splits the path of url at its last '/': the folder part (without leading '/', query cut,
// turned into a folder path) and the file name.
void SplitAddressPath(const std::string& url, std::string& host, std::string& directory, std::string& name) {
    UrlParts parts;
    parts.Parse(url);
    host = parts.HostName();
    std::string path = parts.Path();
    size_t slash = path.rfind('/');
    directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
    while (!directory.empty() && directory[0] == '/') directory.erase(0, 1);
}

std::string SafeFolderPath(const std::string& directory) {
    std::string out, step;
    for (size_t i = 0; i <= directory.size(); ++i) {
        if (i == directory.size() || directory[i] == '/' || directory[i] == '\\') {
            if (!step.empty()) out += SafePathStep(step) + "\\";
            step.clear();
        } else {
            step += directory[i];
        }
    }
    return out;
}

std::string WithNumber(const std::string& name, unsigned n) {
    size_t dot = name.rfind('.');
    std::string number = FormatText("(%u)", n);
    if (dot == std::string::npos) return name + number;
    return name.substr(0, dot) + number + name.substr(dot);
}

std::string LowerCase(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = ToLowerAscii(c);
    return out;
}

}  // namespace

std::string SafePathStep(const std::string& step) {
    std::string out;
    out.reserve(step.size());
    for (char c : step) out += IsForbidden(static_cast<unsigned char>(c)) ? '_' : c;
    if (out.find_first_not_of('.') == std::string::npos) return "_";   // ".", ".." and the like
    // The file system drops trailing dots and blanks, so "a." and "a" would be one file.
    while (!out.empty() && (out.back() == '.' || out.back() == ' ')) out.back() = '_';
    if (out.empty()) return "_";
    if (!IsSafeFileName(out) && out.size() < 200) out = "_" + out;   // device names: CON, NUL, COM1...
    return out;
}

bool PlanPicturePlace(int saveType, const std::string& saveFolder, const UrlQueueEntry& entry,
                      PicturePlace& place) {
    std::string host, directory, name;
    SplitAddressPath(saveType == 1 ? entry.referrer : entry.url, host, directory, name);
    if (saveType == 1) {
        std::string ownHost, ownDirectory;
        SplitAddressPath(entry.url, ownHost, ownDirectory, name);
    }
    size_t query = directory.find('?');
    if (query != std::string::npos) directory.erase(query);

    std::string base = saveFolder;
    if (base.empty() || base.back() != '\\') base += '\\';
    place.folder = base;
    // Below a host folder the separator after the save folder is added whatever the folder ends
    // with, so a folder given with a trailing '\' yields a doubled one in the stored path (read
    // as one by the file system); the copy command expects "\" + host after the folder's text.
    if (saveType == 1 || saveType == 2)
        place.folder = saveFolder + "\\" + SafePathStep(host) + "\\" + SafeFolderPath(directory);
    place.name = name.empty() ? "(0)" : SafePathStep(name);

    // Belt and braces: whatever the address said, the file lands inside the save folder.
    std::string root = FullFolderPath(base), target = FullFolderPath(place.folder);
    return !root.empty() && !target.empty() && target.size() >= root.size() &&
           EqualsNoCase(target.substr(0, root.size()), root);
}

void PictureNameIndex::Reset(const ImageRecordList& downloaded) {
    listed_.clear();
    next_.clear();
    for (int i = 0; i < downloaded.GetCount(); ++i) Add(downloaded.GetAt(i).localPath);
}

void PictureNameIndex::Add(const std::string& localPath) { listed_.insert(LowerCase(localPath)); }

bool PictureNameIndex::IsListed(const std::string& localPath) const {
    return listed_.count(LowerCase(localPath)) != 0;
}

unsigned& PictureNameIndex::NextNumber(const std::string& wantedPath) {
    auto it = next_.emplace(LowerCase(wantedPath), 1u).first;
    return it->second;
}

namespace {

template <typename IsFree>
std::string FirstFreePicturePath(const PicturePlace& place, PictureNameIndex& index, IsFree isFree) {
    const std::string wanted = place.folder + place.name;
    if (!index.IsListed(wanted) && isFree(wanted)) return wanted;
    // Numbers below the remembered one were taken when last looked at.
    unsigned& n = index.NextNumber(wanted);
    for (; n < 1000000; ++n) {
        std::string path = place.folder + WithNumber(place.name, n);
        if (!index.IsListed(path) && isFree(path)) return path;
    }
    return std::string();
}

}  // namespace

std::string ChooseFreePicturePath(const PicturePlace& place, PictureNameIndex& index) {
    return FirstFreePicturePath(place, index, [](const std::string& path) {
        return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    });
}

std::string ChooseUnlistedPicturePath(const PicturePlace& place, PictureNameIndex& index) {
    return FirstFreePicturePath(place, index, [](const std::string&) { return true; });
}

std::string ChooseFreePicturePath(const PicturePlace& place, const ImageRecordList& downloaded) {
    PictureNameIndex index;
    index.Reset(downloaded);
    return ChooseFreePicturePath(place, index);
}

PictureWriteResult WriteNewPictureFile(const std::string& path, const uint8_t* data, size_t count,
                                       unsigned long* systemError) {
    // CREATE_NEW: a file that appeared since the name was chosen is never overwritten. The
    // folder is made only when it is missing, so a run asks the disk once per picture, not more.
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = h == INVALID_HANDLE_VALUE ? GetLastError() : 0, folderError = 0;
    if (h == INVALID_HANDLE_VALUE && error == ERROR_PATH_NOT_FOUND) {
        std::string folder, name;
        SplitPathAtLastBackslash(path, folder, name);
        folderError = folder.empty() ? 0 : CreateFolderPath(folder);
        h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        error = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    }
    if (h == INVALID_HANDLE_VALUE) {
        // A folder of that name refuses access rather than saying it exists.
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
            (error == ERROR_ACCESS_DENIED && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES))
            return PictureWriteResult::kNameTaken;
        // The folder's own reason says more than "path not found" for the file in it.
        if (systemError) *systemError = folderError ? folderError : error;
        return PictureWriteResult::kFailed;
    }
    bool ok = true;
    size_t done = 0;
    while (ok && done < count) {
        DWORD chunk = static_cast<DWORD>(count - done > 0x1000000 ? 0x1000000 : count - done), written = 0;
        const BOOL wrote = WriteFile(h, data + done, chunk, &written, nullptr);
        ok = wrote && written == chunk;
        // A short write without an error is a full disk.
        if (!ok) error = wrote ? ERROR_DISK_FULL : GetLastError();
        done += written;
    }
    if (!CloseHandle(h) && ok) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) DeleteFileA(path.c_str());
    if (!ok && systemError) *systemError = error ? error : ERROR_WRITE_FAULT;
    return ok ? PictureWriteResult::kWritten : PictureWriteResult::kFailed;
}

bool FileHoldsBytes(const std::string& path, const uint8_t* data, size_t count) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    bool same = GetFileSizeEx(h, &size) && static_cast<uint64_t>(size.QuadPart) == static_cast<uint64_t>(count);
    static const DWORD kPiece = 64 * 1024;
    std::vector<uint8_t> piece(same && count > 0 ? kPiece : 0);
    size_t done = 0;
    while (same && done < count) {
        const DWORD want = static_cast<DWORD>(count - done < kPiece ? count - done : kPiece);
        DWORD got = 0;
        same = ReadFile(h, piece.data(), want, &got, nullptr) && got == want &&
               std::memcmp(piece.data(), data + done, want) == 0;
        done += got;
    }
    CloseHandle(h);
    return same;
}

PictureWriteResult SavePictureBytes(const std::string& path, const uint8_t* data, size_t count,
                                    unsigned long* systemError) {
    const PictureWriteResult result = WriteNewPictureFile(path, data, count, systemError);
    if (result == PictureWriteResult::kNameTaken && FileHoldsBytes(path, data, count))
        return PictureWriteResult::kAlreadyThere;
    return result;
}

unsigned long PrepareSaveFolder(const std::string& folder) {
    if (folder.empty()) return ERROR_PATH_NOT_FOUND;
    if (const DWORD error = CreateFolderPath(folder)) return error;
    // A folder that is there may still refuse files (a read-only share, no permission): the
    // run would download every picture for nothing.
    return ProbeFolderForFiles(folder);
}

ImageRecord MakePictureRecord(const UrlQueueEntry& entry, const std::string& localPath, size_t size) {
    ImageRecord record;
    record.pageUrl = entry.referrer;
    record.imageUrl = entry.url;
    record.localPath = localPath;
    size_t slash = localPath.rfind('\\');
    record.fileName = slash == std::string::npos ? localPath : localPath.substr(slash + 1);
    record.fileSize = size > 0x7fffffff ? 0x7fffffff : static_cast<int32_t>(size);
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME stamp;
    SystemTimeToFileTime(&now, &stamp);
    record.timeLow = stamp.dwLowDateTime;
    record.timeHigh = stamp.dwHighDateTime;
    record.flag = 0;
    return record;
}
