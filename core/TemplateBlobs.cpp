#include "core/TemplateBlobs.h"

#include <cstring>
#include <string>

#include "core/BlobReader.h"
#include "core/BlobWriter.h"
#include "core/TemplateBase.h"

namespace {

// The length word, the name and its zero byte: the least an entry takes.
const size_t kMinEntrySize = 5;

void WriteKindName(BlobWriter& out, const TemplateBase& generator)
{
    const char* name = generator.GetTypeName();
    const size_t length = strlen(name);
    out.WriteU32(static_cast<uint32_t>(length));  // without the zero byte that follows
    out.WriteBytes(name, length);
    out.WriteU8(0);
}

bool ReadKindName(BlobReader& in, std::string& name)
{
    uint32_t length = 0;
    if (!in.ReadU32(length))
        return false;
    // length + 1 bytes follow; checked before adding so a huge length cannot wrap around.
    if (static_cast<size_t>(length) >= in.Remaining()) {
        in.Skip(in.Remaining() + 1);  // marks the reader failed
        return false;
    }
    return in.ReadFixedString(name, static_cast<size_t>(length) + 1);
}

}  // namespace

std::vector<uint8_t> EncodeTemplateDefinitions(const std::vector<TemplateBase*>& generators)
{
    BlobWriter out;
    out.WriteU32(static_cast<uint32_t>(generators.size()));
    for (const TemplateBase* g : generators) {
        WriteKindName(out, *g);
        g->SaveDefinition(out);
    }
    return out.Bytes();
}

bool DecodeTemplateDefinitions(const uint8_t* data, size_t size, std::vector<TemplateBase*>& generators)
{
    BlobReader in(data, size);
    uint32_t count = 0;
    if (!in.ReadCount(count, kMinEntrySize))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        std::string name;
        if (!ReadKindName(in, name))
            return false;
        TemplateBase* generator = CreateTemplate(name);
        if (generator == nullptr)
            return false;
        if (!generator->LoadDefinition(in)) {
            delete generator;
            return false;
        }
        generators.push_back(generator);
    }
    return in.AtEnd();
}

std::vector<uint8_t> EncodeTemplateValues(const std::vector<TemplateBase*>& generators)
{
    BlobWriter out;
    out.WriteU32(static_cast<uint32_t>(generators.size()));
    for (const TemplateBase* g : generators) {
        WriteKindName(out, *g);
        g->SaveCurrent(out);
    }
    return out.Bytes();
}

bool DecodeTemplateValues(const uint8_t* data, size_t size, const std::vector<TemplateBase*>& generators,
                          bool& mismatch)
{
    mismatch = false;
    BlobReader in(data, size);
    uint32_t count = 0;
    if (!in.ReadCount(count, kMinEntrySize)) {
        mismatch = true;
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        std::string name;
        if (i >= generators.size() || !ReadKindName(in, name) || name != generators[i]->GetTypeName() ||
            !generators[i]->LoadCurrent(in)) {
            mismatch = true;
            return false;
        }
    }
    return count == generators.size();
}
