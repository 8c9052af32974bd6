#pragma once
// An ordered list of indices into a task's picture list: what the picture views select,
// remove and hand to each other.
#include <cstdint>
#include <vector>

typedef std::vector<int32_t> PictureIndexList;
