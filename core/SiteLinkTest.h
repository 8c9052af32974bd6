#pragma once
// The site-scanning task's link test: URL include/exclude lists, file-name masks, file types,
// depth, and where page and picture links may lead relative to the task's start addresses.
#include <string>
#include <vector>

#include "core/FileTypes.h"

class SearchLinkTask;
struct UrlQueueEntry;

// True when the link is to be followed (page) or downloaded (picture). groups are the
// settings' file-type groups, used when the task takes every configured file type.
bool AcceptSiteLink(const SearchLinkTask& task, const UrlQueueEntry& entry, const std::vector<FileTypeGroup>& groups);

// Host equal without regard to case (ports are not compared), and, when withPath is set, the
// link's path begins with the start address's whole path (case ignored).
bool IsWithinStartAddress(const std::string& url, const std::string& startUrl, bool withPath);
