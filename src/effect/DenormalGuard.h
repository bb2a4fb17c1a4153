#pragma once

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace effect {

// While it lives, arithmetic flushes subnormal results to zero and reads
// subnormal operands as zero (the FTZ and DAZ bits of the SSE control
// register); it gives the caller's mode back when it goes. Numbers that small
// are silence, and on many processors every operation on one costs a hundred
// times the usual: states decaying toward zero would make a block of near
// silence the slowest of all.
class DenormalGuard {
public:
    DenormalGuard() noexcept {
#if defined(__SSE__)
        saved_ = _mm_getcsr();
        _mm_setcsr(saved_ | flush_to_zero | denormals_are_zero);
#endif
    }
    ~DenormalGuard() {
#if defined(__SSE__)
        _mm_setcsr(saved_);
#endif
    }
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
    static constexpr unsigned flush_to_zero = 0x8000;
    static constexpr unsigned denormals_are_zero = 0x0040;
    unsigned saved_ = 0;
};

} // namespace effect
