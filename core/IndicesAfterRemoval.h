#pragma once
// Where each of `count` positions goes once the positions in `removed` (ascending, no repeats;
// any out of range ignored) are cut out: its new index, or -1 for a removed one. The picture
// records and the list view's rows are cut by the same rule, so they stay row for row alike.
#include <cstddef>
#include <cstdint>
#include <vector>

std::vector<int32_t> IndicesAfterRemoval(size_t count, const std::vector<int32_t>& removed);
