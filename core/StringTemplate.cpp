#include "core/StringTemplate.h"

#include "core/BlobReader.h"
#include "core/BlobWriter.h"
#include "core/TemplateTexts.h"

const char* const StringTemplate::kTypeName = "StringTemplate";

std::string StringTemplate::GetDisplayText() const
{
    std::string text = TemplateKindText(IDS_TEMPLATE_STRINGS);
    if (!strings.empty()) {
        text += " (" + strings[0];
        if (strings.size() >= 2)
            text += ", " + strings[1];
        text += ", ...)";
    }
    return text;
}

std::string StringTemplate::GetValueText() const
{
    if (index < 0 || static_cast<size_t>(index) >= strings.size())
        return std::string();
    return strings[static_cast<size_t>(index)];
}

bool StringTemplate::Advance()
{
    const int64_t next = static_cast<int64_t>(index) + 1;
    if (next < 0 || static_cast<uint64_t>(next) >= strings.size()) {
        index = 0;
        return true;
    }
    index = static_cast<int32_t>(next);
    return false;
}

void StringTemplate::SaveDefinition(BlobWriter& out) const
{
    out.WriteU32(static_cast<uint32_t>(strings.size()));
    for (const std::string& s : strings)
        out.WriteCountedString(s);
}

bool StringTemplate::LoadDefinition(BlobReader& in)
{
    uint32_t count = 0;
    // Each string takes at least its 4-byte length.
    if (!in.ReadCount(count, 4))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        std::string text;
        if (!in.ReadCountedString(text))
            return false;
        strings.push_back(text);
    }
    return true;
}

void StringTemplate::SaveCurrent(BlobWriter& out) const
{
    out.WriteI32(index);
}

bool StringTemplate::LoadCurrent(BlobReader& in)
{
    int32_t value = 0;
    if (!in.ReadI32(value))
        return false;
    index = (value < 0 || static_cast<size_t>(value) >= strings.size()) ? 0 : value;
    return true;
}
