#pragma once
// The strings of a list, one after another.
#include <cstdint>
#include <string>
#include <vector>
#include "core/TemplateBase.h"

class StringTemplate : public TemplateBase {
public:
    static const char* const kTypeName;

    StringTemplate() = default;
    explicit StringTemplate(const std::vector<std::string>& values) : strings(values) {}

    TemplateBase* Clone() const override { return new StringTemplate(*this); }
    const char* GetTypeName() const override { return kTypeName; }
    std::string GetDisplayText() const override;
    void SaveDefinition(BlobWriter& out) const override;
    // Appends every string read to the list.
    bool LoadDefinition(BlobReader& in) override;
    void SaveCurrent(BlobWriter& out) const override;
    bool LoadCurrent(BlobReader& in) override;
    std::string GetValueText() const override;
    bool Advance() override;
    void Reset() override { index = 0; }

    std::vector<std::string> strings;
    int32_t index = 0;
};
