#pragma once

// Counts calls to the global allocator. A test program that uses this gets
// operator new replaced for all its code; only allocations made between
// start() and stop() are counted.
namespace test {

class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();
    // Allocations seen since construction.
    long count() const;

private:
    long start_;
};

} // namespace test
