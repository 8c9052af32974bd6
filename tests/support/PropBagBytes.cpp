#include "tests/support/PropBagBytes.h"

#include <gtest/gtest.h>

#include <cstddef>

#include "imaging/ByteOrder.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

void PutU32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutU8(Bytes& b, uint8_t v)
{
    b.push_back(v);
}

void PutText(Bytes& b, const std::string& s)
{
    b.insert(b.end(), s.begin(), s.end());
}

void PutCounted(Bytes& b, const std::string& s)
{
    PutU32(b, static_cast<uint32_t>(s.size() + 1));
    PutText(b, s);
    b.push_back(0);
}

void PutField(Bytes& b, const std::string& s, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        b.push_back(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
}

Bytes TextValue(const std::string& s)
{
    Bytes b(s.begin(), s.end());
    b.push_back(0);
    return b;
}

uint32_t GetU32(const Bytes& b, size_t at)
{
    if (at > b.size() || b.size() - at < 4) {
        ADD_FAILURE() << "no four bytes at " << at << " of " << b.size();
        return 0;
    }
    return ReadLittleEndian32(b.data() + at);
}

bool ParseBag(const Bytes& file, RawBag& bag)
{
    if (file.size() < 19 || std::string(file.begin(), file.begin() + 7) != "PROPBAG")
        return false;
    bag.major = static_cast<int32_t>(GetU32(file, 7));
    bag.minor = static_cast<int32_t>(GetU32(file, 11));
    const int32_t count = static_cast<int32_t>(GetU32(file, 15));
    size_t at = 19;
    std::string previous;
    for (int32_t i = 0; i < count; ++i) {
        if (file.size() - at < 68)
            return false;
        std::string name(reinterpret_cast<const char*>(&file[at]), 64);
        name = name.substr(0, name.find('\0'));
        const uint32_t length = GetU32(file, at + 64);
        at += 68;
        if (file.size() - at < length)
            return false;
        if (i > 0 && !(previous < name))
            return false;  // entries must come sorted and unique
        previous = name;
        bag.values[name] = Bytes(file.begin() + static_cast<std::ptrdiff_t>(at), file.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    }
    return at == file.size();
}

RawBag ReadBag(const std::string& path)
{
    Bytes bytes;
    RawBag bag;
    EXPECT_TRUE(ReadFileBytes(path, bytes)) << path;
    EXPECT_TRUE(ParseBag(bytes, bag)) << path;
    return bag;
}

Bytes BuildBag(const RawBag& bag)
{
    Bytes b;
    PutText(b, "PROPBAG");
    PutU32(b, static_cast<uint32_t>(bag.major));
    PutU32(b, static_cast<uint32_t>(bag.minor));
    PutU32(b, static_cast<uint32_t>(bag.values.size()));
    for (const auto& kv : bag.values) {
        PutField(b, kv.first, 64);
        PutU32(b, static_cast<uint32_t>(kv.second.size()));
        b.insert(b.end(), kv.second.begin(), kv.second.end());
    }
    return b;
}

}  // namespace testsupport
