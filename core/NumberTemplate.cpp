#include "core/NumberTemplate.h"

#include "core/BlobReader.h"
#include "core/BlobWriter.h"
#include "core/TemplateTexts.h"
#include "core/TextFormat.h"

const char* const NumberTemplate::kTypeName = "NumberTemplate";

namespace {
// Display and value texts are at most this many characters.
const size_t kTextBufferSize = 254;
}

NumberTemplate::NumberTemplate(int32_t from_, int32_t to_, int32_t step_, int32_t width_)
    : from(from_), to(to_), step(step_), width(width_), current(from_)
{
}

std::string NumberTemplate::GetDisplayText() const
{
    char buffer[kTextBufferSize];
    FormatInto(buffer, sizeof(buffer), "%s (%d - %d)", TemplateKindText(IDS_TEMPLATE_NUMBERS).c_str(), from, to);
    return buffer;
}

std::string NumberTemplate::GetValueText() const
{
    // A stored width is not trusted to size anything: the text is at most 253 characters anyway.
    int32_t padding = width;
    if (padding < 0)
        padding = 0;
    if (padding > static_cast<int32_t>(kTextBufferSize - 1))
        padding = static_cast<int32_t>(kTextBufferSize - 1);
    char buffer[kTextBufferSize];
    FormatInto(buffer, sizeof(buffer), "%0*d", static_cast<int>(padding), static_cast<int>(current));
    return buffer;
}

bool NumberTemplate::Advance()
{
    // A step that does not move forward would never reach the end: such a generator has one value.
    // The sum is taken in 64 bits so a range ending near the 32-bit limit still carries.
    const int64_t next = static_cast<int64_t>(current) + step;
    if (step <= 0 || next > to) {
        current = from;
        return true;
    }
    current = static_cast<int32_t>(next);
    return false;
}

void NumberTemplate::SaveDefinition(BlobWriter& out) const
{
    out.WriteI32(from);
    out.WriteI32(to);
    out.WriteI32(step);
    out.WriteI32(width);
}

bool NumberTemplate::LoadDefinition(BlobReader& in)
{
    int32_t f = 0, t = 0, s = 0, w = 0;
    if (!in.ReadI32(f) || !in.ReadI32(t) || !in.ReadI32(s) || !in.ReadI32(w))
        return false;
    from = f;
    to = t;
    step = s;
    width = w;
    current = from;  // a newly read definition stands at its first value
    return true;
}

void NumberTemplate::SaveCurrent(BlobWriter& out) const
{
    out.WriteI32(current);
}

bool NumberTemplate::LoadCurrent(BlobReader& in)
{
    int32_t value = 0;
    if (!in.ReadI32(value))
        return false;
    current = (value > to || value < from) ? from : value;
    return true;
}
