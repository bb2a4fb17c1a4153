#include "pengui/win32/RenderingBufferWin32.h"

#include <utility>

namespace pengui {

RenderingBufferWin32::~RenderingBufferWin32() {
    if (memory_dc_ != nullptr) {
        SelectObject(memory_dc_, previous_);
        DeleteDC(memory_dc_);
    }
}

int RenderingBufferWin32::create(HDC dc) {
    if (bitmap_ != nullptr) {
        return 0;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width();
    info.bmiHeader.biHeight = -height(); // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObjectWin32<HBITMAP> bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap == nullptr) {
        return -1;
    }
    memory_dc_ = CreateCompatibleDC(dc);
    if (memory_dc_ == nullptr) {
        return -1;
    }
    bitmap_ = std::move(bitmap);
    previous_ = SelectObject(memory_dc_, bitmap_.get());
    bits_ = static_cast<std::uint8_t*>(bits);
    return 0;
}

void RenderingBufferWin32::copy_block(int x, int y, int w, int h) {
    if (paint_dc_ == nullptr || memory_dc_ == nullptr) {
        return;
    }
    // The painting loop wrote through the pointer: GDI must see it.
    GdiFlush();
    BitBlt(paint_dc_, x, y, w, h, memory_dc_, 0, 0, SRCCOPY);
}

} // namespace pengui
