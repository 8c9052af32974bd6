#include "ui/pictures/ExchangeSortOrder.h"

#include <algorithm>
#include <numeric>

std::vector<int> ExchangeSortOrder(const std::vector<int64_t>& ranks, bool ascending) {
    const size_t n = ranks.size();
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    auto before = [&ranks, ascending](int a, int b) {
        return ascending ? ranks[static_cast<size_t>(a)] < ranks[static_cast<size_t>(b)]
                         : ranks[static_cast<size_t>(a)] > ranks[static_cast<size_t>(b)];
    };
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end(), before);
    bool equalKeys = false;
    for (size_t k = 1; k < n && !equalKeys; ++k)
        equalKeys = ranks[static_cast<size_t>(sorted[k - 1])] == ranks[static_cast<size_t>(sorted[k])];
    if (!equalKeys) return sorted;

    // Equal keys: the exchange itself, on dense ranks (small integers, which the processor's
    // nearest cache holds for 10,000 pictures). In each pass the holder at i meets, from the end
    // down, every later key below it and swaps with it; once it holds the smallest key left it can
    // meet nothing below it, and the pass ends there.
    std::vector<int32_t> keys(n);
    int32_t rank = 0;
    for (size_t k = 0; k < n; ++k) {
        if (k > 0 && ranks[static_cast<size_t>(sorted[k - 1])] != ranks[static_cast<size_t>(sorted[k])]) ++rank;
        keys[static_cast<size_t>(sorted[k])] = rank;  // counted in the wanted direction
    }
    std::vector<int> left(static_cast<size_t>(rank) + 1, 0);  // keys of each rank not yet settled
    for (int32_t key : keys) ++left[static_cast<size_t>(key)];
    int32_t smallest = 0;
    for (size_t i = 0; i + 1 < n; ++i) {
        while (left[static_cast<size_t>(smallest)] == 0) ++smallest;
        int32_t holder = keys[i];
        for (size_t j = n - 1; j > i && holder != smallest; --j) {
            if (keys[j] >= holder) continue;
            std::swap(holder, keys[j]);
            std::swap(order[i], order[j]);
        }
        keys[i] = holder;
        --left[static_cast<size_t>(holder)];
    }
    return order;
}
