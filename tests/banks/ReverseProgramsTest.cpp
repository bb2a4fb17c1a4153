// The "Reverse" programs play what came in during the last period backwards,
// at normal speed, at the usual sample rates.
#include "BankTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct ReverseProgram {
    const char* name;
    double period; // beats: the line time and the ramp's period
};
constexpr ReverseProgram reverse_programs[] = {
    {"Reverse - 2 beats", 2.0}, {"Reverse - 1 beat", 1.0}, {"Reverse - 1/2 beat", 0.5}};

// The program with the dry removed, so that only the lines are heard.
struct WetEngine : banks::ProgramEngine {
    WetEngine(const char* name, float rate)
        : banks::ProgramEngine(banks::find_program(banks::embedded_bank("static_presets"), name),
                               rate) {
        set("Predly lvl", 0.0);
    }
};

// Where the most of |x| lies in [from, to), and the sum of |x| within 16
// samples of it (a linear interpolation keeps that sum of a click).
struct Click {
    std::size_t at;
    double area;
};
Click find_click(const std::vector<float>& x, std::size_t from, std::size_t to) {
    const auto peak = std::max_element(x.begin() + long(from), x.begin() + long(to),
                                       [](float a, float b) { return std::abs(a) < std::abs(b); });
    const std::size_t at = std::size_t(peak - x.begin());
    double area = 0.0;
    for (std::size_t i = at - 16; i <= at + 16; ++i)
        area += std::abs(x[i]);
    return {at, area};
}

// Two clicks of different sizes in one period come out in the next period in
// reverse order, as far apart as they went in: a read at speed -1.
TEST(ReversePrograms, two_clicks_come_back_in_reverse_order_at_normal_speed) {
    for (const ReverseProgram& r : reverse_programs)
        for (const float rate : {44100.0f, 48000.0f, 96000.0f}) {
            WetEngine engine(r.name, rate);
            const std::size_t period = engine.frames(r.period, rate);
            const std::size_t first = engine.frames(0.3 * r.period, rate);
            const std::size_t second = engine.frames(0.6 * r.period, rate);
            test::Stereo input = test::silence(period * 2 + period / 4);
            input.left[first] = input.right[first] = 1.0f;
            input.left[second] = input.right[second] = 0.5f;
            const test::Stereo out = engine.render(input, 256);

            // The second click mirrors to 1.4 periods, the first to 1.7.
            const Click early = find_click(out.left, period + period / 5, period * 31 / 20);
            const Click late = find_click(out.left, period * 31 / 20, period * 19 / 10);
            const std::string what = std::string(r.name) + " at " + std::to_string(int(rate));
            EXPECT_NEAR(late.area / early.area, 2.0, 0.05) << what;
            EXPECT_NEAR(double(late.at - early.at), double(second - first), 3.0) << what;
            // Each click comes back once, at (fdbk) x (level) of its size.
            EXPECT_NEAR(late.area, 0.25 * std::pow(10.0, 9.0 / 20.0), 0.05) << what;
            EXPECT_NEAR(out.left[late.at], out.right[late.at], 1e-6) << what;
            std::printf("[ measured ] %s at %d Hz: clicks %zu samples apart (in: %zu), "
                        "areas %.3f / %.3f\n",
                        r.name, int(rate), late.at - early.at, second - first, late.area,
                        early.area);
        }
}

// A melody of short, decaying notes of distinct pitches, 1/16 beat each.
std::vector<float> melody(std::size_t frames, std::size_t note, float rate) {
    const double pitches[] = {220.0, 330.0, 262.0, 392.0, 294.0, 440.0, 349.0, 523.0,
                              247.0, 587.0, 311.0, 466.0, 370.0, 659.0, 277.0, 415.0};
    std::vector<float> x(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const std::size_t k = i / note;
        const double t = double(i % note) / rate;
        const double f = pitches[(k * 7) % 16];
        const double envelope = std::min(1.0, t / 0.002) * std::exp(-t / 0.012);
        x[i] =
            float(0.4 * envelope * (std::sin(2 * M_PI * f * t) + 0.3 * std::sin(4 * M_PI * f * t)));
    }
    return x;
}

// The best normalized correlation of `w` with x[k + step·n] over the start
// positions k in [from, to).
double best_correlation(const std::vector<float>& w, const std::vector<float>& x, long from,
                        long to, int step) {
    double ww = 0.0;
    for (float v : w)
        ww += double(v) * v;
    double best = 0.0;
    const long n = long(w.size());
    for (long k = from; k < to; ++k) {
        const long lo = std::min(k, k + step * (n - 1));
        if (lo < 0 || std::max(k, k + step * (n - 1)) >= long(x.size()))
            continue;
        double wx = 0.0, xx = 0.0;
        for (long i = 0; i < n; ++i) {
            const double v = x[std::size_t(k + step * i)];
            wx += w[std::size_t(i)] * v;
            xx += v * v;
        }
        if (xx > 0.0)
            best = std::max(best, wx / std::sqrt(ww * xx));
    }
    return best;
}

// In the middle of each period the wet output matches the input of the
// period before read backwards, and not the same stretch read forwards.
TEST(ReversePrograms, a_melody_comes_back_time_reversed) {
    constexpr float rate = 44100.0f;
    for (const ReverseProgram& r : reverse_programs) {
        WetEngine engine(r.name, rate);
        const long period = long(engine.frames(r.period, rate));
        const long window = period / 3;
        test::Stereo input = test::silence(std::size_t(period * 6));
        input.left = input.right = melody(input.size(), engine.frames(1.0 / 16, rate), rate);
        const test::Stereo out = engine.render(input, 256);

        for (long k = 2; k < 6; ++k) {
            const long start = k * period + period / 3;
            const std::vector<float> w(out.left.begin() + start, out.left.begin() + start + window);
            // Backwards, the output at `start` reads the input near 2kP - start.
            const long mirror = 2 * k * period - start;
            const double reversed =
                best_correlation(w, input.left, mirror - 1024, mirror + 1024, -1);
            const double forward =
                best_correlation(w, input.left, mirror - window - 2048, mirror + 2048, 1);
            EXPECT_GT(reversed, 0.9) << r.name << " period " << k;
            EXPECT_LT(forward, 0.5) << r.name << " period " << k;
            EXPECT_GT(reversed, forward + 0.5) << r.name << " period " << k;
            std::printf("[ measured ] %s period %ld: reversed %.3f forward %.3f\n", r.name, k,
                        reversed, forward);
        }
    }
}

} // namespace
