#pragma once
// Blob layouts of the settings' two list values.
//   "Filetypes":        u32 group count; per group: u32 string count (the name counts), then
//                       each string as u32 (length + 1), its characters and a zero byte.
//   "HtmlTagsWithUrls": u32 entry count; per entry: the tag as a counted string, u32 attribute
//                       count and the attributes, u32 prefix count and the excluded prefixes.
// The decoders keep every record read completely and drop a record cut short; they return false
// when the blob ended early or was malformed.
#include <cstdint>
#include <vector>

#include "core/FileTypes.h"
#include "core/HtmlTagEntry.h"

std::vector<uint8_t> EncodeFileTypeGroups(const std::vector<FileTypeGroup>& groups);
bool DecodeFileTypeGroups(const std::vector<uint8_t>& blob, std::vector<FileTypeGroup>& groups);

std::vector<uint8_t> EncodeHtmlTagEntries(const std::vector<HtmlTagEntry>& entries);
bool DecodeHtmlTagEntries(const std::vector<uint8_t>& blob, std::vector<HtmlTagEntry>& entries);
