#pragma once

#include "pengui/RenderingBufferInterface.h"
#include "pengui/win32/GdiObjectWin32.h"

#include <windows.h>

namespace pengui {

// The toolkit's 128 x 128 drawing buffer as a 32-bit top-down DIB section,
// copied to the window with BitBlt while a paint runs.
class RenderingBufferWin32 : public RenderingBufferInterface {
public:
    static constexpr int size = 128;

    RenderingBufferWin32() : RenderingBufferInterface(size, size) {}
    ~RenderingBufferWin32() override;

    // [editor thread] Makes the DIB section for device context dc (once).
    // 0, or -1 when the system refuses it.
    int create(HDC dc);
    // [editor thread] The device context block copies go to: set for the
    // time of a paint, null outside it.
    void set_paint_dc(HDC dc) { paint_dc_ = dc; }
    HDC paint_dc() const { return paint_dc_; }

    std::uint8_t* pixels() override { return bits_; }
    void copy_block(int x, int y, int w, int h) override;

private:
    GdiObjectWin32<HBITMAP> bitmap_; // deleted after the DC that holds it
    HDC memory_dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    HDC paint_dc_ = nullptr;
};

} // namespace pengui
