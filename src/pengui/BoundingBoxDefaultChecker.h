#pragma once

#include <cstdint>
#include <limits>

namespace pengui {

// The hit-test shape of controls and pictures: a box (right and bottom
// exclusive) that starts empty, or a delegate that answers instead.
class BoundingBoxDefaultChecker {
public:
    static constexpr std::int32_t unset = std::numeric_limits<std::int32_t>::min();

    virtual ~BoundingBoxDefaultChecker() = default;
    // [editor thread] Whether the point (in the owner's space) lies inside.
    // A delegate answers for its owner: a chain as long as the delegates set.
    // NOLINTNEXTLINE(misc-no-recursion)
    virtual bool contains(std::int32_t x, std::int32_t y) const {
        if (delegate_ != nullptr) {
            return delegate_->contains(x, y);
        }
        return x0 <= x && x < x1 && y0 <= y && y < y1;
    }
    // [editor thread] Another checker that answers contains instead; null to
    // use the box again. Not owned.
    void set_delegate(const BoundingBoxDefaultChecker* delegate) { delegate_ = delegate; }
    // [editor thread]
    void set_box(std::int32_t bx0, std::int32_t by0, std::int32_t bx1, std::int32_t by1) {
        x0 = bx0;
        y0 = by0;
        x1 = bx1;
        y1 = by1;
    }

    std::int32_t x0 = unset;
    std::int32_t y0 = unset;
    std::int32_t x1 = unset;
    std::int32_t y1 = unset;

private:
    const BoundingBoxDefaultChecker* delegate_ = nullptr;
};

} // namespace pengui
