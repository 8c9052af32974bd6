#pragma once
// Where an accepted picture is stored and under which name, and the writing of its file.
// Every part of the stored path comes from the address, so each is made safe: no character the
// file system forbids, no "." or ".." step, no device name, and the result stays in the folder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/ImageRecord.h"
#include "core/UrlQueueEntry.h"

struct PicturePlace {
    std::string folder;   // ends with '\'
    std::string name;     // file name before any clash number
};

// saveType 0: everything into saveFolder; 1: saveFolder\host\<path of the referring page>;
// 2: saveFolder\host\<path of the picture>. False when the result would leave saveFolder.
bool PlanPicturePlace(int saveType, const std::string& saveFolder, const UrlQueueEntry& entry,
                      PicturePlace& place);

// The local paths a task's records hold (letter case ignored), and per wanted name the clash
// number to try next, so that saving many pictures of one name costs no rescans.
class PictureNameIndex {
public:
    void Reset(const ImageRecordList& downloaded);
    void Add(const std::string& localPath);
    bool IsListed(const std::string& localPath) const;
    unsigned& NextNumber(const std::string& wantedPath);

private:
    std::unordered_set<std::string> listed_;
    std::unordered_map<std::string, unsigned> next_;
};

// folder + name, or with "(1)", "(2)"... before the extension while the task already lists that
// path (letter case ignored) or a file or folder of that name exists on disk. "" when none is free.
std::string ChooseFreePicturePath(const PicturePlace& place, PictureNameIndex& index);
std::string ChooseFreePicturePath(const PicturePlace& place, const ImageRecordList& downloaded);
// The same from the index alone, without asking the disk: the write (which never overwrites)
// finds out whether a file of that name exists, and only then is the disk asked.
std::string ChooseUnlistedPicturePath(const PicturePlace& place, PictureNameIndex& index);

// kAlreadyThere: the file of that name holds exactly these bytes (a restarted task finding its
// own earlier file); nothing was written and the picture is that file.
enum class PictureWriteResult { kWritten, kAlreadyThere, kNameTaken, kFailed };

// Writes all bytes into a new file, making its folders when they are missing. kNameTaken when a
// file or folder of that name exists (it is left as it is); on failure the partial file is
// removed and, when asked, *systemError tells why (the folder that could not be made, the file
// that could not be created or written). Safe on any thread.
PictureWriteResult WriteNewPictureFile(const std::string& path, const uint8_t* data, size_t count,
                                       unsigned long* systemError = nullptr);
inline bool WritePictureFile(const std::string& path, const uint8_t* data, size_t count) {
    return WriteNewPictureFile(path, data, count) == PictureWriteResult::kWritten;
}
// WriteNewPictureFile, except that a file of that name holding exactly these bytes gives
// kAlreadyThere instead of kNameTaken. Nothing is ever overwritten. Safe on any thread.
PictureWriteResult SavePictureBytes(const std::string& path, const uint8_t* data, size_t count,
                                    unsigned long* systemError = nullptr);
// Makes the folder a run saves into and sees that a file can be made in it (a file that
// vanishes at once). 0 when it can, else the system's reason.
unsigned long PrepareSaveFolder(const std::string& folder);
// True when path is a file of exactly these bytes (read in bounded pieces, never whole).
bool FileHoldsBytes(const std::string& path, const uint8_t* data, size_t count);

// The record of a saved picture, stamped with the current local time.
ImageRecord MakePictureRecord(const UrlQueueEntry& entry, const std::string& localPath, size_t size);

// A path step made safe to stand in a folder path ("a:b" -> "a_b", "CON" -> "_CON", ".." -> "_").
std::string SafePathStep(const std::string& step);
