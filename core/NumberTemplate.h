#pragma once
// Numbers from `from` to `to` in steps of `step`, written zero-padded to `width` digits.
#include <cstdint>
#include "core/TemplateBase.h"

class NumberTemplate : public TemplateBase {
public:
    static const char* const kTypeName;

    NumberTemplate() = default;
    NumberTemplate(int32_t from, int32_t to, int32_t step, int32_t width);

    TemplateBase* Clone() const override { return new NumberTemplate(*this); }
    const char* GetTypeName() const override { return kTypeName; }
    std::string GetDisplayText() const override;
    void SaveDefinition(BlobWriter& out) const override;
    bool LoadDefinition(BlobReader& in) override;
    void SaveCurrent(BlobWriter& out) const override;
    bool LoadCurrent(BlobReader& in) override;
    std::string GetValueText() const override;
    bool Advance() override;
    void Reset() override { current = from; }

    int32_t from = 0;
    int32_t to = 0;
    int32_t step = 0;
    int32_t width = 0;
    int32_t current = 0;
};
