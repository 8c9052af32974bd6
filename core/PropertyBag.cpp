#include "core/PropertyBag.h"

#include <windows.h>

#include <cstring>

#include "core/PathHelpers.h"
#include "imaging/ByteOrder.h"
#include "core/SafeFileWriter.h"

namespace {

const char kMagic[7] = {'P', 'R', 'O', 'P', 'B', 'A', 'G'};

// Sequential reads from an open file that know how many bytes are left, so a length field can
// be checked before anything is allocated for it.
class FileReader {
public:
    explicit FileReader(HANDLE file) : file_(file)
    {
        LARGE_INTEGER size;
        if (GetFileSizeEx(file_, &size) && size.QuadPart >= 0) {
            remaining_ = static_cast<uint64_t>(size.QuadPart);
            sized_ = true;
        }
    }

    bool Read(void* destination, size_t size)
    {
        if (size > remaining_)
            return false;
        if (!sized_) {
            failed_ = true;
            return false;
        }
        char* p = static_cast<char*>(destination);
        while (size > 0) {
            const DWORD chunk = size > 0x10000000u ? 0x10000000u : static_cast<DWORD>(size);
            DWORD got = 0;
            if (!ReadFile(file_, p, chunk, &got, nullptr) || got != chunk) {
                // The size said the bytes are there: a lock or an I/O error withheld them.
                failed_ = true;
                return false;
            }
            p += chunk;
            size -= chunk;
            remaining_ -= chunk;
        }
        return true;
    }

    bool ReadI32(int32_t& value)
    {
        unsigned char b[4];
        if (!Read(b, 4))
            return false;
        value = static_cast<int32_t>(ReadLittleEndian32(b));
        return true;
    }

    uint64_t Remaining() const { return remaining_; }
    bool Failed() const { return failed_; }

private:
    HANDLE file_;
    uint64_t remaining_ = 0;
    bool sized_ = false;
    bool failed_ = false;
};

}  // namespace

PropertyBagValue::PropertyBagValue(const std::string& name, const void* data, uint32_t size)
    : name_(name), bytes_(size, 0)
{
    if (data != nullptr && size > 0)
        memcpy(bytes_.data(), data, size);
}

void PropertyBag::SetValue(const std::string& name, const void* data, uint32_t length)
{
    values_[name] = PropertyBagValue(name, data, data ? length : 0);
}

bool PropertyBag::GetValueSize(const std::string& name, uint32_t& size) const
{
    const PropertyBagValue* v = Find(name);
    if (v == nullptr)
        return false;
    size = v->GetSize();
    return true;
}

bool PropertyBag::GetValue(const std::string& name, void* destination, uint32_t length) const
{
    const PropertyBagValue* v = Find(name);
    if (v == nullptr || v->GetSize() != length)
        return false;
    if (length > 0)
        memcpy(destination, v->GetData(), length);
    return true;
}

const PropertyBagValue* PropertyBag::Find(const std::string& name) const
{
    auto it = values_.find(name);
    return it == values_.end() ? nullptr : &it->second;
}

void PropertyBag::SetString(const std::string& name, const std::string& text)
{
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    SetValue(name, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

bool PropertyBag::GetString(const std::string& name, std::string& text) const
{
    const PropertyBagValue* v = Find(name);
    if (v == nullptr)
        return false;
    const char* p = reinterpret_cast<const char*>(v->GetData());
    const size_t size = v->GetSize();
    const void* zero = size ? memchr(p, 0, size) : nullptr;
    text.assign(p, zero ? static_cast<size_t>(static_cast<const char*>(zero) - p) : size);
    return true;
}

void PropertyBag::SetInt32(const std::string& name, int32_t value)
{
    const uint32_t u = static_cast<uint32_t>(value);
    const uint8_t b[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                          static_cast<uint8_t>(u >> 24)};
    SetValue(name, b, 4);
}

bool PropertyBag::GetInt32(const std::string& name, int32_t& value) const
{
    uint8_t b[4];
    if (!GetValue(name, b, 4))
        return false;
    value = static_cast<int32_t>(ReadLittleEndian32(b));
    return true;
}

void PropertyBag::SetFlag(const std::string& name, bool value)
{
    const uint8_t b = value ? 1 : 0;
    SetValue(name, &b, 1);
}

bool PropertyBag::GetFlag(const std::string& name, bool& value) const
{
    uint8_t b = 0;
    if (!GetValue(name, &b, 1))
        return false;
    value = b != 0;
    return true;
}

bool PropertyBag::GetByte(const std::string& name, uint8_t& value) const
{
    return GetValue(name, &value, 1);
}

void PropertyBag::SetBlob(const std::string& name, const std::vector<uint8_t>& bytes)
{
    SetValue(name, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

bool PropertyBag::GetBlob(const std::string& name, std::vector<uint8_t>& bytes) const
{
    const PropertyBagValue* v = Find(name);
    if (v == nullptr)
        return false;
    bytes = v->GetBytes();
    return true;
}

bool PropertyBag::Save(const std::string& path) const
{
    std::string folder, name;
    SplitPathAtLastBackslash(path, folder, name);
    if (!folder.empty())
        CreateFolderPath(folder);

    SafeFileWriter out(path);
    if (!out.Open())
        return false;
    out.Write(kMagic, sizeof(kMagic));
    out.WriteI32(versionMajor);
    out.WriteI32(versionMinor);
    out.WriteI32(static_cast<int32_t>(values_.size()));
    for (const auto& entry : values_) {
        char field[kNameFieldSize];
        memset(field, 0, sizeof(field));
        const std::string& key = entry.first;
        memcpy(field, key.data(), key.size() < kNameFieldSize ? key.size() : kNameFieldSize);
        out.Write(field, sizeof(field));
        out.WriteU32(entry.second.GetSize());
        out.Write(entry.second.GetData(), entry.second.GetSize());
        if (out.Failed())
            break;
    }
    return out.Commit();
}

bool PropertyBag::Load(const std::string& path)
{
    const LoadStatus status = LoadWithStatus(path);
    return status == LoadStatus::Loaded || status == LoadStatus::Trailing;
}

PropertyBag::LoadStatus PropertyBag::LoadWithStatus(const std::string& path)
{
    cut_ = PropertyBagValue();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
            return LoadStatus::Missing;
        // A folder of that name holds no settings either.
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return LoadStatus::Missing;
        return LoadStatus::Unreadable;
    }
    FileReader in(file);
    char magic[sizeof(kMagic)] = {0};
    if (!in.Read(magic, sizeof(magic)) || memcmp(magic, kMagic, sizeof(kMagic)) != 0) {
        CloseHandle(file);
        return in.Failed() ? LoadStatus::Unreadable : LoadStatus::Foreign;
    }

    bool complete = in.ReadI32(versionMajor) && in.ReadI32(versionMinor);
    int32_t count = 0;
    complete = complete && in.ReadI32(count);
    std::vector<uint8_t> value;
    for (int32_t i = 0; complete && i < count; ++i) {
        char field[kNameFieldSize];
        int32_t length = 0;
        if (!in.Read(field, sizeof(field)) || !in.ReadI32(length)) {
            complete = false;
            break;
        }
        const uint32_t size = static_cast<uint32_t>(length);
        const void* zero = memchr(field, 0, sizeof(field));
        const size_t nameLength = zero ? static_cast<size_t>(static_cast<const char*>(zero) - field) : sizeof(field);
        // A length beyond what the file still holds is a short file, found before allocating:
        // what is there of that value is kept apart.
        if (size > in.Remaining()) {
            complete = false;
            value.assign(static_cast<size_t>(in.Remaining()), 0);
            if (in.Read(value.data(), value.size()))
                cut_ = PropertyBagValue(std::string(field, nameLength), value.data(), static_cast<uint32_t>(value.size()));
            break;
        }
        value.assign(size, 0);
        if (!in.Read(value.data(), size)) {
            complete = false;
            break;
        }
        SetValue(std::string(field, nameLength), value.data(), size);
    }
    CloseHandle(file);
    if (complete)
        return in.Remaining() > 0 ? LoadStatus::Trailing : LoadStatus::Loaded;
    return in.Failed() ? LoadStatus::Unreadable : LoadStatus::Short;
}
