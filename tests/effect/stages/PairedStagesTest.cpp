// Two lines' filters and shelves run side by side give, bit for bit, what
// each gives on its own: odd and even runs, ring slots out of step, one
// stage neutral or bypassed.

#include "StageRig.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::vector<float> noise(std::size_t n, unsigned seed) {
    std::vector<float> x(n);
    for (float& v : x) {
        seed = seed * 1664525u + 1013904223u;
        v = float(seed >> 8) / float(1u << 24) - 0.5f;
    }
    return x;
}

bool same(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), sizeof(float) * a.size()) == 0;
}

// Run lengths as the engine cuts them at buffer wraps and host block ends.
constexpr int runs[] = {1, 7, 256, 64, 3, 2, 255, 1, 128};

} // namespace

TEST(PairedStages, filters_side_by_side_match_each_alone) {
    struct Filter {
        int type;
        double cutoff, reso, q;
    };
    struct Case {
        Filter a, b;
        bool in_place; // a gliding read filtered in its own block
    };
    const Filter low{0, 2500.0, 4.0, 1.0}, high{1, 300.0, 0.7, 1.0}, band{3, 1200.0, 2.0, 5.0},
        neutral{2, 1000.0, 1.0, 1.0};
    for (const Case& c : {Case{low, high, false}, Case{band, low, true}, Case{low, neutral, false},
                          Case{neutral, band, true}}) {
        FilterRig pa(44100.0f, c.a.type, c.a.cutoff, c.a.reso, c.a.q);
        FilterRig pb(44100.0f, c.b.type, c.b.cutoff, c.b.reso, c.b.q);
        FilterRig ra(44100.0f, c.a.type, c.a.cutoff, c.a.reso, c.a.q);
        FilterRig rb(44100.0f, c.b.type, c.b.cutoff, c.b.reso, c.b.q);
        const std::vector<float> xa = noise(1000, 1), xb = noise(1000, 2);
        std::vector<float> ya(xa.size()), yb(xb.size()), za(xa.size()), zb(xb.size());
        // One lone sample puts b's ring slot out of step with a's.
        pb.stage.read(yb.data(), xb.data(), 1);
        rb.stage.read(zb.data(), xb.data(), 1);
        std::size_t pos = 1;
        for (int n : runs) {
            if (c.in_place) {
                std::memcpy(ya.data() + pos, xa.data() + pos, sizeof(float) * std::size_t(n));
                std::memcpy(yb.data() + pos, xb.data() + pos, sizeof(float) * std::size_t(n));
                effect::FilterStage::read_pair(pa.stage, ya.data() + pos, ya.data() + pos, pb.stage,
                                               yb.data() + pos, yb.data() + pos, n);
            } else {
                effect::FilterStage::read_pair(pa.stage, ya.data() + pos, xa.data() + pos, pb.stage,
                                               yb.data() + pos, xb.data() + pos, n);
            }
            ra.stage.read(za.data() + pos, xa.data() + pos, n);
            rb.stage.read(zb.data() + pos, xb.data() + pos, n);
            pos += std::size_t(n);
        }
        ya.resize(pos);
        yb.resize(pos);
        za.resize(pos);
        zb.resize(pos);
        EXPECT_TRUE(same(ya, za)) << c.a.type << " " << c.b.type;
        EXPECT_TRUE(same(yb, zb)) << c.a.type << " " << c.b.type;
        EXPECT_FALSE(same(ya, std::vector<float>(xa.begin(), xa.begin() + long(pos))))
            << "the filter did nothing";
        EXPECT_EQ(pa.stage.biquad().state(), ra.stage.biquad().state());
        EXPECT_EQ(pb.stage.biquad().state(), rb.stage.biquad().state());
    }
}

TEST(PairedStages, shelves_side_by_side_match_each_alone) {
    struct Case {
        double cutoff_a, level_a, cutoff_b, level_b;
    };
    for (const Case& c : {Case{4000.0, 0.5, 1000.0, 0.0}, Case{8000.0, 0.2, 4000.0, 1.0},
                          Case{4000.0, 1.0, 2000.0, 0.7}}) {
        ShelfRig pa(44100.0f, c.cutoff_a, c.level_a), pb(44100.0f, c.cutoff_b, c.level_b);
        ShelfRig ra(44100.0f, c.cutoff_a, c.level_a), rb(44100.0f, c.cutoff_b, c.level_b);
        std::vector<float> ya = noise(1000, 3), yb = noise(1000, 4);
        std::vector<float> za = ya, zb = yb;
        std::size_t pos = 0;
        for (int n : runs) {
            effect::ShelfStage::process_pair(pa.stage, ya.data() + pos, pb.stage, yb.data() + pos,
                                             n);
            ra.stage.process(za.data() + pos, n);
            rb.stage.process(zb.data() + pos, n);
            pos += std::size_t(n);
        }
        EXPECT_TRUE(same(ya, za)) << c.level_a << " " << c.level_b;
        EXPECT_TRUE(same(yb, zb)) << c.level_a << " " << c.level_b;
        EXPECT_FALSE(same(ya, noise(1000, 3)) && same(yb, noise(1000, 4)))
            << "neither shelf did anything";
    }
}
