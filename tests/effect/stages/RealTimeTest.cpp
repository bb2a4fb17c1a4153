// Nothing on the stages' audio path allocates: ticks with running LFOs,
// reads, in-place filtering, shaping, shelving and resets.

#include "StageRig.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

TEST(RealTime, audio_path_of_every_stage_allocates_nothing) {
    FilterRig filter(48000.0f, effect::Biquad::band_pass, 2000.0, 4.0, 2.0);
    filter.set(filter_index::cutoff_depth, 1.0);
    DistortionRig dist(48000.0f, 0.5, 0.6);
    dist.set(dist_index::level_depth, 0.5);
    ShelfRig shelf(48000.0f, 3000.0, 0.3);
    const std::vector<float> src = sine(block_size, 700.0, 48000.0, 0.9);
    std::vector<float> block(block_size);

    const test::AllocationCounter allocations;
    for (int b = 0; b < 200; ++b) {
        filter.stage.tick(block_size);
        dist.stage.tick(block_size);
        shelf.stage.tick();
        filter.stage.read(block.data(), src.data(), block_size);
        filter.stage.filter_in_place(block.data(), block_size);
        dist.stage.process(block.data(), block_size);
        shelf.stage.process(block.data(), block_size);
        if (b == 100) {
            filter.stage.reset();
            dist.stage.reset();
            shelf.stage.reset();
            filter.stage.tempo_changed();
            dist.stage.tempo_changed();
        }
    }
    EXPECT_EQ(allocations.count(), 0);
}
