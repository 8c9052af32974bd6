#pragma once
// Where the picture list's sort puts each record. The sort is an exchange sort (for each i, every
// later j from the end down is swapped with i when the two are out of order; equal keys are never
// swapped), and the order it leaves equal keys in is part of what users see. Comparing records
// that way costs n²/2 string comparisons (a second and more at 10,000 pictures); here the keys
// become ranks first, the exchange runs on plain integers, and a list without equal keys is simply
// sorted, which leaves it in the same order.
#include <cstddef>
#include <cstdint>
#include <vector>

// ranks: one per record (equal keys, equal ranks). Returns order: order[k] is the record that ends
// at position k.
std::vector<int> ExchangeSortOrder(const std::vector<int64_t>& ranks, bool ascending);
