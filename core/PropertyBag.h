#pragma once
// The key/value store behind every file the program keeps for itself: named byte blobs with a
// two-part version number, written and read whole.
//
// File layout (little-endian): "PROPBAG" (7 bytes, no terminator), version major (i32), version
// minor (i32), entry count (i32), then per entry, sorted by name: the name in a 64-byte
// zero-padded field (cut to 64 bytes, no terminator, when longer), the value length (u32), the
// value bytes.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class PropertyBagValue {
public:
    PropertyBagValue() = default;
    PropertyBagValue(const std::string& name, const void* data, uint32_t size);

    const std::string& GetName() const { return name_; }
    uint32_t GetSize() const { return static_cast<uint32_t>(bytes_.size()); }
    const uint8_t* GetData() const { return bytes_.data(); }
    const std::vector<uint8_t>& GetBytes() const { return bytes_; }

private:
    std::string name_;
    std::vector<uint8_t> bytes_;
};

class PropertyBag {
public:
    static const int32_t kCurrentVersionMajor = 2;
    static const int32_t kCurrentVersionMinor = 0;
    static const size_t kNameFieldSize = 64;

    PropertyBag() = default;

    // Plain fields: -1/-1 in a new bag or after a load of a missing file; writers set 2.0.
    int32_t versionMajor = -1;
    int32_t versionMinor = -1;

    void SetCurrentVersion()
    {
        versionMajor = kCurrentVersionMajor;
        versionMinor = kCurrentVersionMinor;
    }
    // Major above 2, or 2 with a minor above 0.
    bool IsNewerThanCurrent() const
    {
        return versionMajor > kCurrentVersionMajor ||
               (versionMajor == kCurrentVersionMajor && versionMinor > kCurrentVersionMinor);
    }

    // Stores a copy of length bytes under name, replacing any value of that name. A null data
    // pointer with length 0 stores an empty value (the name stays present with size 0).
    void SetValue(const std::string& name, const void* data, uint32_t length);
    // True and the value's size when name is present; size untouched otherwise.
    bool GetValueSize(const std::string& name, uint32_t& size) const;
    // Copies the value only when name is present and its size equals length exactly; otherwise
    // false with destination untouched. So a missing or mis-sized key leaves a caller's default.
    bool GetValue(const std::string& name, void* destination, uint32_t length) const;

    // Convenience forms of the common patterns, with the same rules as above.
    void SetString(const std::string& name, const std::string& text);  // text + one zero byte
    bool GetString(const std::string& name, std::string& text) const;  // up to the first zero byte
    void SetInt32(const std::string& name, int32_t value);             // 4 bytes little-endian
    bool GetInt32(const std::string& name, int32_t& value) const;      // only when exactly 4 bytes
    void SetFlag(const std::string& name, bool value);                 // 1 byte, 0 or 1
    bool GetFlag(const std::string& name, bool& value) const;          // only when exactly 1 byte
    bool GetByte(const std::string& name, uint8_t& value) const;       // only when exactly 1 byte
    void SetBlob(const std::string& name, const std::vector<uint8_t>& bytes);
    bool GetBlob(const std::string& name, std::vector<uint8_t>& bytes) const;
    // Null when absent.
    const PropertyBagValue* Find(const std::string& name) const;
    bool Has(const std::string& name) const { return Find(name) != nullptr; }
    size_t Count() const { return values_.size(); }
    const std::map<std::string, PropertyBagValue>& Values() const { return values_; }

    // Writes the whole file, creating missing folders first. The new content goes to a temporary
    // file that replaces the old one only when every write succeeded, so a failed save leaves the
    // previous file intact. True when the file was written.
    bool Save(const std::string& path) const;

    // Reads the file into the bag (adding to what it holds). Missing file or wrong magic: false,
    // bag unchanged. A file that ends early (or claims a value longer than what follows): false,
    // with the entries read completely before that point kept. Bytes after the last counted
    // entry are left unread (true).
    bool Load(const std::string& path);

    enum class LoadStatus {
        Loaded,      // read whole
        Missing,     // no such file (or folder)
        Unreadable,  // the file is there but could not be opened or read (locked, no permission)
        Foreign,     // not a property bag (wrong magic)
        Short,       // ended early; the entries read whole are kept
        Trailing,    // every counted entry read, yet bytes follow them: the count is wrong
    };
    // Load, telling why it failed. Only an Unreadable file may hold data this run cannot see:
    // its owner must never write over it.
    LoadStatus LoadWithStatus(const std::string& path);

    // After a Short load whose file ended inside a value: that value's name and the bytes of it
    // that were there, so its owner may take the records they hold whole. Null otherwise. It is
    // not one of the bag's values (Find and Save do not see it).
    const PropertyBagValue* CutValue() const { return cut_.GetName().empty() ? nullptr : &cut_; }

private:
    PropertyBagValue cut_;
    // Ordered by name as unsigned bytes, which is std::string's own order.
    std::map<std::string, PropertyBagValue> values_;
};
