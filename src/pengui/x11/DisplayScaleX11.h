#pragma once

#include "pengui/Scale.h"

struct _XDisplay;

namespace pengui {

// [editor thread] The scale for windows on an X display, as the user set it
// up: QUEVRIN_SCALE when set to a number, else the X resource Xft.dpi (the
// desktop's font resolution: 144 and more is 1.5, 192 and more 2), else
// GDK_SCALE, else 1. Each number gives the largest scale not above it.
Scale display_scale(_XDisplay* display);

} // namespace pengui
