#pragma once

#include "mppi/ParamPriority.h"

#include <vector>

namespace mppi {

// One ParamPriority per parameter, index for index. Every operation runs on
// the editor thread.
class ParamPriorityList {
public:
    // [editor thread] Sized once the parameter count is known; every entry unclaimed.
    void resize(int count) { entries_.assign(static_cast<std::size_t>(count), ParamPriority()); }
    int size() const { return static_cast<int>(entries_.size()); }

    // Indices outside the list are refused (may_change, claim) or ignored (release).
    bool may_change(int index, int priority, double now) const {
        return valid(index) && entries_[static_cast<std::size_t>(index)].may_change(priority, now);
    }
    bool claim(int index, int priority, double now) {
        return valid(index) && entries_[static_cast<std::size_t>(index)].claim(priority, now);
    }
    void release(int index, int priority) {
        if (valid(index))
            entries_[static_cast<std::size_t>(index)].release(priority);
    }
    int get_owner(int index) const {
        return valid(index) ? entries_[static_cast<std::size_t>(index)].get_owner() : 0;
    }

private:
    bool valid(int index) const { return index >= 0 && index < size(); }

    std::vector<ParamPriority> entries_;
};

} // namespace mppi
