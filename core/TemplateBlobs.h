#pragma once
// The generator blobs of URL-template tasks. Both are a u32 count, then per generator a u32 L
// (the length of its kind name, without the zero byte), the name and a zero byte (L + 1 bytes),
// then for "Templates" (task file) its definition, for "TaskInfo" (resume file) its current value.
#include <cstdint>
#include <vector>

class TemplateBase;

std::vector<uint8_t> EncodeTemplateDefinitions(const std::vector<TemplateBase*>& generators);
// Appends the generators of the blob to generators (the caller owns them). False when a kind name
// is unknown, the blob ends early or bytes follow the last generator; the generators read whole
// until then are kept.
bool DecodeTemplateDefinitions(const uint8_t* data, size_t size, std::vector<TemplateBase*>& generators);

std::vector<uint8_t> EncodeTemplateValues(const std::vector<TemplateBase*>& generators);
// Gives stored entry i to generator i while the kind names agree. True only when the blob held
// exactly one well-formed entry of the right kind for every generator. A blob that ends early or
// whose stored kinds disagree still restores the entries before the disagreement.
bool DecodeTemplateValues(const uint8_t* data, size_t size, const std::vector<TemplateBase*>& generators,
                          bool& mismatch);
