#pragma once

#include "pengui/Picture.h"

#include <vector>

namespace pengui {

class RenderingBufferInterface;

// The numbered pictures of a control (animation frames, switch positions),
// each with a flag saying whether it was set. Unset frames draw nothing.
class PictureFrames {
public:
    explicit PictureFrames(int count) { set_count(count); }

    // [editor thread] Makes count empty frames (allocates).
    void set_count(int count);
    // [editor thread] Ignored for an index out of range.
    void set(int index, const Picture& picture);
    // [editor thread] The frame, or null when unset or out of range.
    const Picture* get(int index) const;
    // [editor thread]
    int count() const { return static_cast<int>(frames_.size()); }
    // [editor thread] The frame for a position in [0, 1] (clamped; NaN is 0):
    // floor(position x (count - 1) + 0.5).
    int index_of(double position) const;
    // [editor thread] Draws the frame of a position in [0, 1] (see index_of)
    // for rect in the owner's space, if that frame is set.
    void draw(double position, const Rect& rect, RenderingBufferInterface& buffer) const;

private:
    struct Frame {
        Picture picture;
        bool loaded = false;
    };
    std::vector<Frame> frames_;
};

} // namespace pengui
