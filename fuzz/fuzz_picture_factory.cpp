// Picture resources from outside bytes: a resource is either refused or
// makes a picture that draws any view, origin and angle (NaN, infinities and
// far-off values included) without reading outside the resource or writing
// outside the buffer; the sanitizers watch both.
#include "FuzzDrawParams.h"

#include "pengui/MemoryRenderingBuffer.h"
#include "pengui/PicDataFactory.h"
#include "pengui/PicDataInterface.h"
#include "pengui/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzDrawParams p;
    if (!p.read(data, size)) {
        return 0;
    }
    const auto pic = pengui::PicDataFactory::instance().create(data, size);
    if (pic == nullptr) {
        return 0;
    }
    static pengui::MemoryRenderingBuffer buffer;
    const pengui::Rect view{p.x0, p.y0, p.x1, p.y1};
    pic->draw(view, buffer);
    pic->draw_at(p.origin_x, p.origin_y, p.view_width, p.view_height, buffer);
    pic->draw_rotated(p.origin_x, p.origin_y, p.view_width, p.view_height, p.angle, buffer);
    pengui::Picture placed;
    placed.set_data(pic.get());
    placed.set_anchor(p.anchor_x, p.anchor_y);
    placed.draw(view, buffer);
    placed.draw_at(p.origin_x, p.origin_y, p.view_width, p.view_height, buffer);
    placed.draw_rotated(p.origin_x, p.origin_y, p.view_width, p.view_height, p.angle, buffer);
    return 0;
}
