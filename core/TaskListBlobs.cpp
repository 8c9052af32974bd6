#include "core/TaskListBlobs.h"

#include "core/BlobReader.h"
#include "core/BlobWriter.h"
#include "core/PropertyBag.h"
#include "core/TaskOptions.h"

std::vector<uint8_t> EncodeStartingAddresses(const std::vector<StartingAddress>& list)
{
    BlobWriter out;
    out.WriteU32(static_cast<uint32_t>(list.size()));
    for (const StartingAddress& a : list) {
        out.WriteFixedString(a.Url, TaskOptions::kStartUrlFieldSize);
        out.WriteU8(a.UseAuthorization ? 1 : 0);
        out.WriteFixedString(a.UserName, TaskOptions::kCredentialFieldSize);
        out.WriteFixedString(a.Password, TaskOptions::kCredentialFieldSize);
    }
    return out.Bytes();
}

bool DecodeStartingAddresses(const std::vector<uint8_t>& blob, std::vector<StartingAddress>& list)
{
    list.clear();
    BlobReader in(blob);
    uint32_t count = 0;
    if (!in.ReadCount(count, TaskOptions::kStartingAddressEntrySize))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        StartingAddress a;
        uint8_t flag = 0;
        in.ReadFixedString(a.Url, TaskOptions::kStartUrlFieldSize);
        in.ReadU8(flag);
        in.ReadFixedString(a.UserName, TaskOptions::kCredentialFieldSize);
        in.ReadFixedString(a.Password, TaskOptions::kCredentialFieldSize);
        if (in.Failed())
            return false;
        a.UseAuthorization = flag != 0;
        list.push_back(a);
    }
    return in.AtEnd();
}

std::vector<uint8_t> EncodeFixedStringList(const std::vector<std::string>& list, size_t fieldSize)
{
    BlobWriter out;
    out.WriteU32(static_cast<uint32_t>(list.size()));
    for (const std::string& text : list)
        out.WriteFixedString(text, fieldSize);
    return out.Bytes();
}

bool DecodeFixedStringList(const std::vector<uint8_t>& blob, size_t fieldSize, std::vector<std::string>& list)
{
    list.clear();
    BlobReader in(blob);
    uint32_t count = 0;
    if (!in.ReadCount(count, fieldSize))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        std::string text;
        if (!in.ReadFixedString(text, fieldSize))
            return false;
        list.push_back(text);
    }
    return in.AtEnd();
}

void SetFixedStringList(PropertyBag& bag, const std::string& name, const std::vector<std::string>& list,
                        size_t fieldSize)
{
    bag.SetBlob(name, EncodeFixedStringList(list, fieldSize));
}

bool GetFixedStringList(const PropertyBag& bag, const std::string& name, size_t fieldSize,
                        std::vector<std::string>& list)
{
    std::vector<uint8_t> blob;
    return !bag.GetBlob(name, blob) || DecodeFixedStringList(blob, fieldSize, list);
}

void SetSizeFilter(PropertyBag& bag, const std::string& name, const SizeFilter& filter)
{
    BlobWriter out;
    out.WriteU8(filter.enabled ? 1 : 0);
    out.WriteI32(filter.value);
    bag.SetBlob(name, out.Bytes());
}

void GetSizeFilter(const PropertyBag& bag, const std::string& name, SizeFilter& filter)
{
    uint8_t bytes[5];
    if (!bag.GetValue(name, bytes, sizeof(bytes)))
        return;
    BlobReader in(bytes, sizeof(bytes));
    uint8_t on = 0;
    int32_t value = 0;
    in.ReadU8(on);
    in.ReadI32(value);
    filter.enabled = on != 0;
    filter.value = value;
}
