#include "pengui/BackgroundItem.h"

#include "pengui/Messages.h"

namespace pengui {

int BackgroundItem::handle_down(const MessageInterface& message) {
    if (const auto* redraw = dynamic_cast<const Redraw*>(&message)) {
        const Rect& r = redraw->rect;
        picture_.draw(clamped_rect(std::int64_t{r.x0} - x(), std::int64_t{r.y0} - y(),
                                   std::int64_t{r.x1} - x(), std::int64_t{r.y1} - y()),
                      *redraw->buffer);
    }
    return 0;
}

} // namespace pengui
