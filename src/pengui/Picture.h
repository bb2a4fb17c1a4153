#pragma once

#include "pengui/BoundingBoxDefaultChecker.h"
#include "pengui/Rect.h"

namespace pengui {

class PicDataInterface;
class RenderingBufferInterface;

// A picture placed in its owner's space: the box says where the picture's
// pixels lie (its anchor sits at the owner's origin) and is also the pivot of
// rotated drawing. The picture data is not owned. Without data nothing draws.
class Picture : public BoundingBoxDefaultChecker {
public:
    // [editor thread] Sets the data and the box (0, 0, width, height).
    void set_data(const PicDataInterface* data);
    // [editor thread] Puts picture point (ax, ay) at the owner's origin.
    void set_anchor(int ax, int ay);
    // [editor thread]
    int anchor_x() const { return -x0; }
    // [editor thread]
    int anchor_y() const { return -y0; }
    // [editor thread]
    const PicDataInterface* data() const { return data_; }
    // [editor thread] The data's size; 0 without data.
    int width() const;
    int height() const;

    // [editor thread] Draws the part of the owner's space named by rect
    // (its top-left on buffer pixel (0, 0)).
    int draw(const Rect& rect, RenderingBufferInterface& buffer) const;
    // [editor thread] Draws with owner point (x, y) on buffer pixel (0, 0),
    // covering view_width x view_height: whole pixels when both coordinates
    // are integral, else sub-pixel placement.
    int draw_at(float x, float y, int view_width, int view_height,
                RenderingBufferInterface& buffer) const;
    // [editor thread] As draw_at, turned by angle radians (counter-clockwise
    // on screen) about the anchor: about the anchor pixel's centre moved
    // `pivot` pixels right and down. A picture drawn at scale s turns about
    // its logical anchor pixel's centre with a pivot of (s - 1) / 2.
    int draw_rotated(float x, float y, int view_width, int view_height, float angle,
                     RenderingBufferInterface& buffer, float pivot = 0) const;

private:
    const PicDataInterface* data_ = nullptr;
};

} // namespace pengui
