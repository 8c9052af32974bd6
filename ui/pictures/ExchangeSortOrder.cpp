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

    // Equal keys: the exchange itself, on the ranks.
    std::vector<int64_t> keys = ranks;
    for (size_t i = 0; i + 1 < n; ++i) {
        for (size_t j = n - 1; j > i; --j) {
            const bool outOfOrder = ascending ? keys[i] > keys[j] : keys[i] < keys[j];
            if (!outOfOrder) continue;
            std::swap(keys[i], keys[j]);
            std::swap(order[i], order[j]);
        }
    }
    return order;
}
