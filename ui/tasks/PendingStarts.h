#pragma once
// The tasks that the user started while another one ran, first in first out, each with the mode
// the download manager's Start takes (0 start or resume, 1 restart, 2 reload the pictures).
// A task is listed at most once.
#include <algorithm>
#include <functional>
#include <vector>

class TaskOptions;

class PendingStarts {
public:
    struct Entry {
        TaskOptions* task;
        int mode;
    };

    bool Contains(const TaskOptions* task) const {
        return std::any_of(entries_.begin(), entries_.end(), [task](const Entry& e) { return e.task == task; });
    }
    // False when the task is listed already.
    bool Append(TaskOptions* task, int mode) {
        if (!task || Contains(task)) return false;
        entries_.push_back({task, mode});
        return true;
    }
    bool Remove(const TaskOptions* task) { return RemoveIf([task](TaskOptions* t) { return t == task; }) > 0; }
    size_t RemoveIf(const std::function<bool(TaskOptions*)>& which) {
        const size_t before = entries_.size();
        entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return which(e.task); }),
                       entries_.end());
        return before - entries_.size();
    }
    bool Empty() const { return entries_.empty(); }
    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& Front() const { return entries_.front(); }
    const std::vector<Entry>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
};
