// No program clicks: on a steady sine, the largest change from one sample to
// the next stays near that of a sine of the same frequency at the output's
// peak (a click is a step far beyond it).
#include "BankTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

double peak(const std::vector<float>& x, std::size_t from) {
    double p = 0.0;
    for (std::size_t i = from; i < x.size(); ++i)
        p = std::max(p, double(std::abs(x[i])));
    return p;
}

// The largest |x[i+1] - x[i]| from `from` on, and where it is.
std::pair<double, std::size_t> largest_step(const std::vector<float>& x, std::size_t from) {
    std::pair<double, std::size_t> s{0.0, from};
    for (std::size_t i = from + 1; i < x.size(); ++i)
        s = std::max(s, {double(std::abs(x[i] - x[i - 1])), i});
    return s;
}

TEST(ProgramSteps, no_program_steps_further_than_a_sine_of_its_peak) {
    struct Case {
        float rate;
        double frequency;
    };
    // At 22050 Hz the shortest delay, 1/128 beat, is 86 samples; at 96 kHz 375.
    const Case cases[] = {
        {44100.0f, 220.0}, {44100.0f, 1000.0}, {22050.0f, 220.0}, {96000.0f, 220.0}};
    const double amplitude = std::pow(10.0, -12.0 / 20.0);
    const mppi::BankManager bank = banks::embedded_bank("static_presets");
    for (const Case& c : cases) {
        test::Stereo input = test::silence(std::size_t(4.5 * c.rate));
        for (std::size_t i = 0; i < input.size(); ++i)
            input.left[i] = input.right[i] =
                float(amplitude * std::sin(2.0 * M_PI * c.frequency * double(i) / c.rate));
        // A sine of peak P steps by at most P·2·sin(pi·f/rate).
        const double unit_step = 2.0 * std::sin(M_PI * c.frequency / c.rate);
        // From 0.1 s on: the sine starts with a step of its own.
        const std::size_t from = std::size_t(0.1 * c.rate);
        for (int p = 0; p < bank.get_nbr_progs(); ++p) {
            banks::ProgramEngine engine(bank.use_prog(p), c.rate);
            const test::Stereo out = engine.render(input, 256);
            double worst = 0.0;
            for (const std::vector<float>* channel : {&out.left, &out.right}) {
                const double top = peak(*channel, from);
                const auto [step, at] = largest_step(*channel, from);
                // Twice: room for the harmonics a distortion adds.
                EXPECT_LE(step, 2.0 * top * unit_step)
                    << bank.use_prog(p).get_prog_name() << ", " << c.frequency << " Hz at "
                    << c.rate << " Hz: a step of " << step << " at " << double(at) / c.rate << " s";
                if (top > 0.0)
                    worst = std::max(worst, step / (top * unit_step));
            }
            std::printf("[ measured ] %2d %-36s %4.0f Hz at %5.0f Hz: largest step %.2f x the "
                        "sine's\n",
                        p, bank.use_prog(p).get_prog_name().c_str(), c.frequency, double(c.rate),
                        worst);
        }
    }
}

} // namespace
