#pragma once
// A list that owns the objects its pointers point to: they are deleted when an item is removed or
// the list goes, and an item being added is never lost when the list cannot grow. Items() gives
// the plain pointers for code that only reads them.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

template <class T>
class OwningList {
public:
    OwningList() = default;
    ~OwningList() {
        static_assert(sizeof(T) > 0, "the list's items must be complete where it is destroyed");
        Clear();
    }
    OwningList(const OwningList&) = delete;
    OwningList& operator=(const OwningList&) = delete;

    // Takes `item`; when the list cannot grow, `item` is freed as the exception passes.
    T* Add(std::unique_ptr<T> item) {
        items_.reserve(items_.size() + 1);
        items_.push_back(item.get());
        return item.release();
    }
    void Remove(size_t index) {
        if (index >= items_.size()) return;
        std::unique_ptr<T> gone(items_[index]);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    void Swap(size_t a, size_t b) { std::swap(items_[a], items_[b]); }
    void Clear() {
        std::vector<T*> gone;
        gone.swap(items_);
        for (T* item : gone) delete item;
    }

    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    T* operator[](size_t index) const { return items_[index]; }
    T* back() const { return items_.back(); }
    const std::vector<T*>& Items() const { return items_; }

private:
    std::vector<T*> items_;
};
