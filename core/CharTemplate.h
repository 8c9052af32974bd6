#pragma once
// Single characters from `from` to `to` (signed 8-bit order).
#include <cstdint>
#include "core/TemplateBase.h"

class CharTemplate : public TemplateBase {
public:
    static const char* const kTypeName;

    CharTemplate() = default;
    CharTemplate(char from, char to);

    TemplateBase* Clone() const override { return new CharTemplate(*this); }
    const char* GetTypeName() const override { return kTypeName; }
    std::string GetDisplayText() const override;
    void SaveDefinition(BlobWriter& out) const override;
    bool LoadDefinition(BlobReader& in) override;
    void SaveCurrent(BlobWriter& out) const override;
    bool LoadCurrent(BlobReader& in) override;
    std::string GetValueText() const override { return std::string(1, static_cast<char>(current)); }
    bool Advance() override;
    void Reset() override { current = from; }

    int8_t from = 'a';
    int8_t to = 'z';
    int8_t current = 'a';
};
