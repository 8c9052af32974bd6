#include "core/CharTemplate.h"

#include "core/BlobReader.h"
#include "core/BlobWriter.h"
#include "core/TemplateTexts.h"
#include "core/TextFormat.h"

const char* const CharTemplate::kTypeName = "CharTemplate";

CharTemplate::CharTemplate(char from_, char to_)
    : from(static_cast<int8_t>(from_)), to(static_cast<int8_t>(to_)), current(static_cast<int8_t>(from_))
{
}

std::string CharTemplate::GetDisplayText() const
{
    char buffer[254];
    FormatInto(buffer, sizeof(buffer), "%s (%c - %c)", TemplateKindText(IDS_TEMPLATE_CHARS).c_str(),
               static_cast<char>(from), static_cast<char>(to));
    return buffer;
}

bool CharTemplate::Advance()
{
    // Compared in int so a range ending at the largest character still carries instead of
    // wrapping around to the smallest.
    const int next = static_cast<int>(current) + 1;
    if (next > static_cast<int>(to)) {
        current = from;
        return true;
    }
    current = static_cast<int8_t>(next);
    return false;
}

void CharTemplate::SaveDefinition(BlobWriter& out) const
{
    out.WriteU8(static_cast<uint8_t>(from));
    out.WriteU8(static_cast<uint8_t>(to));
}

bool CharTemplate::LoadDefinition(BlobReader& in)
{
    uint8_t f = 0, t = 0;
    if (!in.ReadU8(f) || !in.ReadU8(t))
        return false;
    from = static_cast<int8_t>(f);
    to = static_cast<int8_t>(t);
    current = from;  // a newly read definition stands at its first value
    return true;
}

void CharTemplate::SaveCurrent(BlobWriter& out) const
{
    out.WriteU8(static_cast<uint8_t>(current));
}

bool CharTemplate::LoadCurrent(BlobReader& in)
{
    uint8_t stored = 0;
    if (!in.ReadU8(stored))
        return false;
    const int8_t value = static_cast<int8_t>(stored);
    current = (value > to || value < from) ? from : value;
    return true;
}
