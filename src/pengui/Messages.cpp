#include "pengui/Messages.h"

namespace pengui {

SetTimer::TimerIdGenerator& SetTimer::TimerIdGenerator::instance() {
    static TimerIdGenerator generator;
    return generator;
}

} // namespace pengui
