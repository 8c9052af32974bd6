#pragma once
// The list values of task files and profiles: a u32 count, then fixed-width zero-padded entries.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/StartingAddress.h"

class PropertyBag;

// "StartingAddresses": entries of 1535 bytes: URL (1024), use-authorization flag (1), user
// name (255), password (255).
std::vector<uint8_t> EncodeStartingAddresses(const std::vector<StartingAddress>& list);
// Replaces list with the entries of the blob. False when the blob is damaged (ends inside an
// entry, a negative count, bytes after the last entry): the entries read whole are kept.
bool DecodeStartingAddresses(const std::vector<uint8_t>& blob, std::vector<StartingAddress>& list);

// A list of texts in fields of fieldSize bytes (file types: 255; URL and name filters: 1024).
std::vector<uint8_t> EncodeFixedStringList(const std::vector<std::string>& list, size_t fieldSize);
// Same rule as DecodeStartingAddresses.
bool DecodeFixedStringList(const std::vector<uint8_t>& blob, size_t fieldSize, std::vector<std::string>& list);

// Bag forms: store the list under name; when name is present, replace list with what it holds
// (false when that value is damaged).
void SetFixedStringList(PropertyBag& bag, const std::string& name, const std::vector<std::string>& list,
                        size_t fieldSize);
bool GetFixedStringList(const PropertyBag& bag, const std::string& name, size_t fieldSize,
                        std::vector<std::string>& list);

// A size filter value: switch byte + int32, 5 bytes; read only when exactly 5 bytes are stored.
struct SizeFilter;
void SetSizeFilter(PropertyBag& bag, const std::string& name, const SizeFilter& filter);
void GetSizeFilter(const PropertyBag& bag, const std::string& name, SizeFilter& filter);
