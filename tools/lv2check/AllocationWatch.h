#pragma once

// Counts the process's heap allocations (malloc and its relatives, so also
// operator new) made while watching is on. The validator turns it on around
// each run() call only. Without sanitizers the program's own malloc family
// takes the place of the C library's; under a sanitizer its allocation hook
// counts instead.
class AllocationWatch {
public:
    // Starts counting; counting() is what was seen since.
    static void begin() noexcept;
    static long end() noexcept;
    // Allocations seen while watching, in all.
    static long total() noexcept;
};
