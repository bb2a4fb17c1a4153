#include "sys/Clock.h"

#include <windows.h>

#include <mmsystem.h>

namespace sys {

double now() {
    return static_cast<double>(timeGetTime()) * 0.001;
}

} // namespace sys
