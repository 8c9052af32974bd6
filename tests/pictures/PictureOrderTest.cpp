// The arithmetic behind the picture views' whole-list commands, without windows: where the sort
// puts records (the same places as comparing every pair the old way, equal keys included) and
// how few row messages take a list's selection from one state to another.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>
#include "ui/pictures/ExchangeSortOrder.h"
#include "ui/pictures/SelectionChanges.h"

namespace {

// The sort as it is described: for each i, every j from the end down to i + 1 swapped with i
// when out of order.
std::vector<int> PairwiseExchange(const std::vector<int64_t>& keys, bool ascending) {
    std::vector<int64_t> k = keys;
    std::vector<int> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    for (size_t i = 0; i + 1 < k.size(); ++i)
        for (size_t j = k.size() - 1; j > i; --j)
            if (ascending ? k[i] > k[j] : k[i] < k[j]) {
                std::swap(k[i], k[j]);
                std::swap(order[i], order[j]);
            }
    return order;
}

TEST(PictureOrder, SortLeavesEqualKeysWhereThePairwiseExchangeDoes) {
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        const size_t n = 1 + random() % 300;
        const int64_t spread = round % 3 == 0 ? 1000000 : 1 + static_cast<int64_t>(random() % 20);
        std::vector<int64_t> keys(n);
        for (int64_t& key : keys) key = static_cast<int64_t>(random() % spread) - spread / 2;
        for (bool ascending : {true, false})
            ASSERT_EQ(PairwiseExchange(keys, ascending), ExchangeSortOrder(keys, ascending))
                << "round " << round << (ascending ? " up" : " down");
    }
    // A case to read: the first 5 swaps with the 0 at the end and stays behind the other two 5s,
    // where a stable sort would have kept it first.
    EXPECT_EQ((std::vector<int>{4, 1, 2, 3, 0}), ExchangeSortOrder({5, 1, 5, 5, 0}, true));
    EXPECT_TRUE(ExchangeSortOrder({}, true).empty());
}

// Applies a plan the way the list does and gives the selection it leaves.
PictureIndexList Apply(int rows, const PictureIndexList& current, const SelectionChanges& plan) {
    std::vector<bool> selected(static_cast<size_t>(rows), false);
    if (plan.start == SelectionChanges::kKeep)
        for (int32_t row : current) selected[static_cast<size_t>(row)] = true;
    if (plan.start == SelectionChanges::kSelectAll) selected.assign(selected.size(), true);
    for (int32_t row : plan.select) selected[static_cast<size_t>(row)] = true;
    for (int32_t row : plan.deselect) selected[static_cast<size_t>(row)] = false;
    PictureIndexList result;
    for (int row = 0; row < rows; ++row)
        if (selected[static_cast<size_t>(row)]) result.push_back(row);
    return result;
}

TEST(PictureOrder, SelectionChangesTakeTheFewestMessages) {
    const int rows = 10000;
    PictureIndexList all, half;
    for (int row = 0; row < rows; ++row) all.push_back(row);
    for (int row = 0; row < rows; row += 2) half.push_back(row);

    // Select all, clear all and invert of a full selection: one message each.
    EXPECT_EQ(1u, PlanSelectionChanges(rows, {}, all).Messages());
    EXPECT_EQ(1u, PlanSelectionChanges(rows, all, {}).Messages());
    EXPECT_EQ(1u, PlanSelectionChanges(rows, half, {}).Messages());
    EXPECT_EQ(1u, PlanSelectionChanges(rows, all, OtherRows(rows, all)).Messages());
    // One row more or less: that row alone.
    PictureIndexList halfAndOne = half;
    halfAndOne.push_back(1);
    const SelectionChanges one = PlanSelectionChanges(rows, half, halfAndOne);
    EXPECT_EQ(SelectionChanges::kKeep, one.start);
    EXPECT_EQ(PictureIndexList{1}, one.select);
    // Nearly all: all, then the exceptions.
    const PictureIndexList allBut3 = OtherRows(rows, {3, 4, 5});
    const SelectionChanges most = PlanSelectionChanges(rows, {7}, allBut3);
    EXPECT_EQ(SelectionChanges::kSelectAll, most.start);
    EXPECT_EQ((PictureIndexList{3, 4, 5}), most.deselect);

    // Whatever the plan, it leaves exactly what was wanted; repeats and rows out of range are ignored.
    std::mt19937 random(3);
    for (int round = 0; round < 200; ++round) {
        const int n = 1 + static_cast<int>(random() % 60);
        PictureIndexList current, wanted;
        for (int row = 0; row < n; ++row) {
            if (random() % 3 == 0) current.push_back(row);
            if (random() % (1 + round % 4) == 0) wanted.push_back(row);
        }
        PictureIndexList asked = wanted;
        asked.push_back(n + 4);
        asked.push_back(-1);
        if (!wanted.empty()) asked.push_back(wanted.front());
        std::shuffle(asked.begin(), asked.end(), random);
        const SelectionChanges plan = PlanSelectionChanges(n, current, asked);
        ASSERT_EQ(wanted, Apply(n, current, plan)) << "round " << round;
        ASSERT_LE(plan.Messages(), 1 + std::min(wanted.size(), static_cast<size_t>(n) - wanted.size()));
    }
}

}  // namespace
