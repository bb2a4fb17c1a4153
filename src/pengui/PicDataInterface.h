#pragma once

#include "pengui/Rect.h"

namespace pengui {

class RenderingBufferInterface;

// A bitmap that draws itself into a rendering buffer. Pixels stay in the
// module's resource; the object only points at them.
//
// A view rectangle is in picture coordinates and names the picture point that
// lands on buffer pixel (0, 0); an origin does the same for the rotated and
// fractional draws, which cover view_width x view_height buffer pixels. All
// draws return 0, never read outside the picture and never write outside the
// buffer, whatever the rectangle, origin or angle (NaN and infinities draw
// nothing).
class PicDataInterface {
public:
    PicDataInterface(int width, int height) : width_(width), height_(height) {}
    virtual ~PicDataInterface() = default;
    // [editor thread]
    virtual int draw(const Rect& view, RenderingBufferInterface& buffer) const = 0;
    // [editor thread] Turned by angle radians (counter-clockwise on screen)
    // about the picture point that lands on buffer pixel (0, 0). Pictures
    // without alpha draw nothing.
    virtual int draw_rotated(float origin_x, float origin_y, int view_width, int view_height,
                             float angle, RenderingBufferInterface& buffer) const;
    // [editor thread] Placed at a sub-pixel origin. Pictures without alpha
    // take the whole pixel below the origin.
    virtual int draw_at(float origin_x, float origin_y, int view_width, int view_height,
                        RenderingBufferInterface& buffer) const;

    // [any thread]
    int width() const { return width_; }
    // [any thread]
    int height() const { return height_; }

private:
    int width_;
    int height_;
};

} // namespace pengui
