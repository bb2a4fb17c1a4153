// The filter stage's four types and the high shelf match their analog
// prototypes through the prewarped bilinear transform, as computed separately
// with SciPy (filter_responses.py, table FilterResponses.txt), within 0.01 dB
// up to 0.45 of the sample rate.

#include "StageRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

constexpr int shelf_kind = 4;
// Long enough for the slowest resonance of the table to die out.
constexpr std::size_t response_length = 1 << 16;

struct Point {
    int kind;
    double rate, cutoff, a, b, freq, db;

    bool same_case(const Point& o) const {
        return kind == o.kind && rate == o.rate && cutoff == o.cutoff && a == o.a && b == o.b;
    }
};

std::string source_dir() {
    const char* dir = std::getenv("QUEVRIN_SOURCE_DIR");
    return dir != nullptr ? dir : ".";
}

std::string stage_dir() {
    return source_dir() + "/tests/effect/stages/";
}

std::vector<Point> load(const std::string& path) {
    std::vector<Point> points;
    std::ifstream in(path);
    Point p{};
    while (in >> p.kind >> p.rate >> p.cutoff >> p.a >> p.b >> p.freq >> p.db)
        points.push_back(p);
    return points;
}

std::vector<float> impulse_response(const Point& p) {
    const std::vector<float> x = impulse(response_length);
    if (p.kind == shelf_kind)
        return ShelfRig(float(p.rate), p.cutoff, p.a).run(x);
    return FilterRig(float(p.rate), p.kind, p.cutoff, p.a, p.b).run(x);
}

bool scipy_available() {
    return std::system("/usr/bin/python3 -c 'import scipy.signal' >/dev/null 2>&1") == 0;
}

} // namespace

TEST(FilterResponse, matches_the_bilinear_prototypes_within_a_hundredth_of_a_db) {
    const std::vector<Point> points = load(stage_dir() + "FilterResponses.txt");
    ASSERT_GT(points.size(), 5000u);
    double worst[shelf_kind + 1] = {};
    int cases = 0;
    std::vector<float> h;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point& p = points[i];
        if (i == 0 || !p.same_case(points[i - 1])) {
            h = impulse_response(p);
            ++cases;
        }
        const double err = std::abs(gain_db(h, p.freq, p.rate) - p.db);
        worst[p.kind] = std::max(worst[p.kind], err);
        EXPECT_LE(err, 0.01) << "kind " << p.kind << " rate " << p.rate << " cutoff " << p.cutoff
                             << " a " << p.a << " b " << p.b << " at " << p.freq << " Hz (" << p.db
                             << " dB)";
    }
    std::cout << cases << " cases, " << points.size() << " points; worst dB error by kind"
              << " (low, high, resonator, band, shelf):";
    for (double w : worst)
        std::cout << ' ' << w;
    std::cout << '\n';
}

TEST(FilterResponse, committed_table_is_what_the_script_computes) {
    if (!scipy_available())
        GTEST_SKIP() << "/usr/bin/python3 with SciPy not found";
    const std::string fresh = testing::TempDir() + "FilterResponsesFresh.txt";
    const std::string cmd =
        "/usr/bin/python3 '" + stage_dir() + "filter_responses.py' '" + fresh + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::vector<Point> expected = load(stage_dir() + "FilterResponses.txt");
    const std::vector<Point> computed = load(fresh);
    std::remove(fresh.c_str());
    ASSERT_EQ(computed.size(), expected.size());
    for (std::size_t i = 0; i < computed.size(); ++i) {
        ASSERT_TRUE(computed[i].same_case(expected[i])) << "line " << i + 1;
        EXPECT_NEAR(computed[i].freq, expected[i].freq, 1e-6 * expected[i].freq);
        EXPECT_NEAR(computed[i].db, expected[i].db, 1e-6) << "line " << i + 1;
    }
}
