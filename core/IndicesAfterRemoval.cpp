#include "core/IndicesAfterRemoval.h"

std::vector<int32_t> IndicesAfterRemoval(size_t count, const std::vector<int32_t>& removed) {
    std::vector<int32_t> after(count, -1);
    size_t next = 0;
    int32_t kept = 0;
    for (size_t i = 0; i < count; ++i) {
        while (next < removed.size() && removed[next] < static_cast<int32_t>(i)) ++next;
        if (next < removed.size() && removed[next] == static_cast<int32_t>(i)) continue;
        after[i] = kept++;
    }
    return after;
}
