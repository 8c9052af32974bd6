#include "core/SettingsBlobs.h"

#include "core/BlobReader.h"
#include "core/BlobWriter.h"

namespace {

// The smallest stored string is its length field alone (a well-formed one adds a zero byte).
const size_t kMinCountedString = 4;

void WriteStringList(BlobWriter& out, const std::vector<std::string>& list)
{
    out.WriteU32(static_cast<uint32_t>(list.size()));
    for (const std::string& s : list)
        out.WriteCountedString(s);
}

bool ReadStringList(BlobReader& in, std::vector<std::string>& list)
{
    uint32_t count = 0;
    if (!in.ReadCount(count, kMinCountedString))
        return false;
    list.clear();
    list.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        std::string s;
        if (!in.ReadCountedString(s))
            return false;
        list.push_back(std::move(s));
    }
    return true;
}

}  // namespace

std::vector<uint8_t> EncodeFileTypeGroups(const std::vector<FileTypeGroup>& groups)
{
    BlobWriter out;
    out.WriteU32(static_cast<uint32_t>(groups.size()));
    for (const FileTypeGroup& group : groups)
        WriteStringList(out, group);
    return out.Bytes();
}

bool DecodeFileTypeGroups(const std::vector<uint8_t>& blob, std::vector<FileTypeGroup>& groups)
{
    groups.clear();
    BlobReader in(blob);
    uint32_t count = 0;
    if (!in.ReadCount(count, 4))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        FileTypeGroup group;
        if (!ReadStringList(in, group))
            return false;
        groups.push_back(std::move(group));
    }
    return in.AtEnd();
}

std::vector<uint8_t> EncodeHtmlTagEntries(const std::vector<HtmlTagEntry>& entries)
{
    BlobWriter out;
    out.WriteU32(static_cast<uint32_t>(entries.size()));
    for (const HtmlTagEntry& e : entries) {
        out.WriteCountedString(e.tag);
        WriteStringList(out, e.attributes);
        WriteStringList(out, e.excludedPrefixes);
    }
    return out.Bytes();
}

bool DecodeHtmlTagEntries(const std::vector<uint8_t>& blob, std::vector<HtmlTagEntry>& entries)
{
    entries.clear();
    BlobReader in(blob);
    uint32_t count = 0;
    // An entry is at least its tag and two empty counts.
    if (!in.ReadCount(count, kMinCountedString + 8))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        HtmlTagEntry e;
        if (!in.ReadCountedString(e.tag) || !ReadStringList(in, e.attributes) || !ReadStringList(in, e.excludedPrefixes))
            return false;
        entries.push_back(std::move(e));
    }
    return in.AtEnd();
}
