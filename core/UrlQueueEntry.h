#pragma once
// One address that a run handles, from the queue through a worker to the processed map.
#include <cstdint>
#include <string>

struct UrlQueueEntry {
    std::string url;        // canonical form
    std::string referrer;   // the page the link was found on (start URLs and reloads: the URL itself)
    int32_t level = 0;      // 0 for start URLs, referrer's level + 1 for found and generated ones
    int32_t retryCount = 0;
    uint8_t isImage = 0;    // 1 when the extension belongs to a configured file-type group
    std::string extension;  // ".jpg"; empty when none

    bool operator==(const UrlQueueEntry& o) const {
        return url == o.url && referrer == o.referrer && level == o.level && retryCount == o.retryCount &&
               isImage == o.isImage && extension == o.extension;
    }
};
