#pragma once

#include <memory>
#include <type_traits>

#include <windows.h>

namespace pengui {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

// An owned GDI object (a bitmap, a font): deleted when it goes.
template <class Handle>
using GdiObjectWin32 = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

} // namespace pengui
