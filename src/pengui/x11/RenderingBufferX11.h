#pragma once

#include "pengui/RenderingBufferInterface.h"
#include "pengui/x11/ImageX11.h"

#include <cstdint>
#include <memory>
#include <vector>

struct _XGC;

namespace pengui {

class EventLoopX11;

// The toolkit's 128 x 128 buffer for an X window: an XImage in shared memory
// when the server offers MIT-SHM (and shares the byte order), else in plain
// memory sent with XPutImage. Its pixels are the toolkit's own layout
// (blue, green, red, unused), which is the 32-bit TrueColor pixel of an
// 8-8-8 visual stored least significant byte first.
class RenderingBufferX11 : public RenderingBufferInterface {
public:
    static constexpr int size = 128;

    // [editor thread]
    explicit RenderingBufferX11(EventLoopX11& loop);
    ~RenderingBufferX11() override;

    // [editor thread] Binds the buffer to a window (of the parent's visual),
    // drawn through gc. 0, or -1 when the visual is not a 24 or 32-bit
    // TrueColor one with 8-bit red, green and blue.
    int attach(unsigned long window, _XGC* gc);
    // [editor thread] Before the window goes away.
    void detach();
    bool uses_shared_memory() const { return segment_ != nullptr; }

    std::uint8_t* pixels() override;
    // [editor thread] Sends the block to the window; the server has read it
    // when this returns, so the next tile can overwrite the buffer.
    void copy_block(int x, int y, int w, int h) override;

private:
    struct Segment;

    bool attach_shared_memory();

    EventLoopX11& loop_;
    std::vector<std::uint8_t> memory_;
    std::unique_ptr<Segment> segment_; // the image's pixels when it is shared
    ImageX11 image_;
    unsigned long window_ = 0;
    _XGC* gc_ = nullptr;
    bool opaque_alpha_ = false; // a 32-bit visual reads the unused byte as alpha
};

} // namespace pengui
