#include "Soak.h"

#include "AllocationWatch.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <sys/resource.h>

namespace {

// Tempos a host's transport may send: ordinary ones, odd ones far outside
// the tempo range, and ones next to its ends.
double random_tempo(std::mt19937& rng) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    switch (rng() % 4) {
    case 0:
        return 40.0 + 260.0 * unit(rng);
    case 1:
        return std::exp(std::log(0.5) + (std::log(5000.0) - std::log(0.5)) * unit(rng));
    case 2:
        return (rng() % 2 == 0 ? 60.0 : 240.0) + 0.02 * (unit(rng) - 0.5);
    default:
        return std::round(60.0 + 180.0 * unit(rng)) + 0.5;
    }
}

long frames_after(std::mt19937& rng, double rate, double min_seconds, double max_seconds) {
    std::uniform_real_distribution<double> seconds(min_seconds, max_seconds);
    return long(seconds(rng) * rate);
}

void append(char* what, std::size_t size, const char* format, const char* text) {
    const std::size_t used = std::strlen(what);
    if (used + 1 < size) {
        std::snprintf(what + used, size - used, format, text);
    }
}

// Each level at the largest it may still have in effect. A level glides
// (0.1 s) or ramps (a control tick) from wherever it is toward its latest
// value, so an old value counts until a whole glide has passed without a
// change; a tap level under an LFO is anywhere in 0..1 (the LFO's wave is
// not held within ±1 by every waveform: brown noise reaches past it, and the
// level is limited instead).
class LevelEnvelope {
public:
    explicit LevelEnvelope(long settle_calls) : settle_(settle_calls) {}

    void add(const SoakTarget::Levels& now) {
        double values[n];
        values[0] = now.predelay;
        for (int t = 0; t < 4; ++t) {
            values[1 + t] = now.tap_modulated[t] ? 1.0 : now.tap[t];
        }
        values[5] = now.line[0];
        values[6] = now.line[1];
        values[7] = now.two_lines ? 1.0 : 0.0;
        for (int k = 0; k < n; ++k) {
            if (values[k] != last_[k]) {
                quiet_[k] = 0;
                last_[k] = values[k];
            } else if (++quiet_[k] > settle_) {
                held_[k] = values[k];
            }
            held_[k] = std::max(held_[k], values[k]);
        }
    }

    SoakTarget::Levels largest() const {
        SoakTarget::Levels l;
        l.predelay = held_[0];
        for (int t = 0; t < 4; ++t) {
            l.tap[t] = held_[1 + t];
        }
        l.line[0] = held_[5];
        l.line[1] = held_[6];
        l.two_lines = held_[7] != 0.0;
        return l;
    }

private:
    static constexpr int n = 8;
    long settle_;
    double last_[n] = {};
    double held_[n] = {};
    long quiet_[n] = {};
};

} // namespace

double Soak::ceiling(const SoakTarget::Levels& levels, double peak) {
    double taps = 0.0;
    for (int t = 0; t < 4; ++t) {
        // Under an LFO a tap's level is anywhere within 0..1.
        taps += 2.0 * (levels.tap_modulated[t] ? std::max(1.0, levels.tap[t]) : levels.tap[t]);
    }
    // Two lines mix each line's output into both sides with either level.
    const double lines =
        levels.two_lines ? 2.0 * std::max(levels.line[0], levels.line[1]) : levels.line[0];
    return std::max(output_floor_ceiling, levels.predelay * taps * peak + lines * loop_ceiling);
}

void Soak::trace(long call, const char* what, double limit) const {
    float peak = 0.0f;
    for (int c = 0; c < 2; ++c) {
        const float* out = target_.output(c);
        for (std::uint32_t i = 0; i < settings_.block; ++i) {
            peak = std::max(peak, std::abs(out[i]));
        }
    }
    const SoakTarget::Levels l = target_.levels();
    std::printf("   call %ld: peak %.6g, ceiling %.4g (pre-delay %.3g, taps %.3g %.3g %.3g %.3g, "
                "lines %.3g %.3g%s): %s\n",
                call, double(peak), limit, l.predelay, l.tap[0], l.tap[1], l.tap[2], l.tap[3],
                l.line[0], l.line[1], l.two_lines ? ", two" : "", what);
}

bool Soak::run(Report& report) {
    const Settings& s = settings_;
    std::mt19937 rng(s.seed);
    std::uniform_real_distribution<float> noise(-s.amplitude, s.amplitude);
    std::vector<float> left(s.block), right(s.block);
    // A change takes effect at the next control tick and ramps over the one
    // after; a base value glides over 0.1 s. Old and new values mix while
    // they move (a pre-delay level already new, a tap level still gliding
    // from its old one): the ceiling of a block takes each level at the
    // largest it may still have.
    LevelEnvelope levels(long(std::ceil((0.1 * s.rate + 3.0 * 256.0) / s.block)) + 1);
    long frames = 0;
    long next_preset = frames_after(rng, s.rate, 2.0, 6.0);
    long next_tempo = frames_after(rng, s.rate, 1.0, 8.0);
    long allocations = 0;
    long page_faults = 0;
    long presets = 0;
    long tempos = 0;
    char what[200];
    char tempo_text[32];
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + std::chrono::duration<double>(60.0 * s.minutes);
    long call = 0;
    for (;; ++call) {
        if (s.calls > 0 ? call >= s.calls
                        : call % 256 == 0 && std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        target_.change_random_parameter(rng, what, sizeof what);
        if (frames >= next_preset) {
            const int k = int(rng() % unsigned(target_.nbr_presets()));
            target_.apply_preset(k);
            append(what, sizeof what, "; preset %s", target_.preset_name(k).c_str());
            next_preset = frames + frames_after(rng, s.rate, 2.0, 6.0);
            ++presets;
        }
        if (frames >= next_tempo) {
            const double bpm = random_tempo(rng);
            target_.send_tempo(bpm);
            std::snprintf(tempo_text, sizeof tempo_text, "%.6g", bpm);
            append(what, sizeof what, "; tempo %s", tempo_text);
            next_tempo = frames + frames_after(rng, s.rate, 1.0, 8.0);
            ++tempos;
        }
        for (std::uint32_t i = 0; i < s.block; ++i) {
            left[i] = noise(rng);
            right[i] = noise(rng);
        }
        levels.add(target_.levels());
        const double limit = ceiling(levels.largest(), s.amplitude);

        target_.prepare(left.data(), right.data(), s.block);
        rusage r0{};
        getrusage(RUSAGE_THREAD, &r0);
        const double t0 = CallTimes::thread_cpu_seconds();
        AllocationWatch::begin();
        target_.process(s.block);
        allocations += AllocationWatch::end();
        const double t1 = CallTimes::thread_cpu_seconds();
        rusage r1{};
        getrusage(RUSAGE_THREAD, &r1);
        const long faults = (r1.ru_minflt - r0.ru_minflt) + (r1.ru_majflt - r0.ru_majflt);
        const long switches = (r1.ru_nivcsw - r0.ru_nivcsw) + (r1.ru_nvcsw - r0.ru_nvcsw);
        page_faults += faults;
        if (faults > 0 || switches > 0) {
            char extra[64];
            std::snprintf(extra, sizeof extra, " [%ld page faults, %ld switches]", faults,
                          switches);
            append(what, sizeof what, "%s", extra);
        }
        times_.add(t1 - t0, call, what);
        if (faults == 0 && switches == 0) {
            undisturbed_.add(t1 - t0, call, what);
        }
        meter_.scan(target_.output(0), s.block, limit, call);
        meter_.scan(target_.output(1), s.block, limit, call);
        if (call >= s.trace_from && call <= s.trace_to) {
            trace(call, what, limit);
        }
        frames += long(s.block);
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    report.note("%s: seed %u, %ld calls of %u frames at %g Hz (%.1f min of audio) in %.1f min, "
                "%ld presets, %ld host tempos",
                target_.name(), s.seed, call, s.block, s.rate, double(frames) / s.rate / 60.0,
                wall / 60.0, presets, tempos);
    report.note("output: peak %.4g at call %ld (%.3g of its ceiling), %ld not finite, %ld above "
                "the ceiling, %ld subnormal of %ld samples",
                meter_.peak(), meter_.peak_call(), meter_.peak_ratio(), meter_.non_finite(),
                meter_.above_ceiling(), meter_.subnormal(), meter_.samples());
    const double median = times_.percentile(0.5);
    report.note("run() CPU time: median %.1f us, 99th percentile %.1f us, max %.1f us (%.1f x "
                "median); %ld allocations",
                1e6 * median, 1e6 * times_.percentile(0.99), 1e6 * times_.max(),
                median > 0.0 ? times_.max() / median : 0.0, allocations);
    // On a shared or virtual machine a thread's CPU clock also runs while the
    // processor serves others (steal): a call the plug-in made slow is slow
    // again at the same call of the same seed, one the machine made slow is not.
    const std::uint64_t slow = times_.above(10.0 * median);
    report.note("run() CPU time: 99.9th percentile %.1f us, 99.99th %.1f us; %llu calls above "
                "10 x median (%.2f per million)",
                1e6 * times_.percentile(0.999), 1e6 * times_.percentile(0.9999),
                static_cast<unsigned long long>(slow),
                call > 0 ? 1e6 * double(slow) / double(call) : 0.0);
    report.note("page faults inside run(): %ld", page_faults);
    for (const CallTimes::Slow& slow : times_.slowest()) {
        report.note("  %.1f us at call %ld: %s", 1e6 * slow.seconds, slow.call, slow.what.c_str());
    }
    report.note("calls the thread ran through without a context switch or a page fault: %ld, "
                "median %.1f us, max %.1f us (%.1f x median)",
                undisturbed_.count(), 1e6 * undisturbed_.percentile(0.5), 1e6 * undisturbed_.max(),
                median > 0.0 ? undisturbed_.max() / median : 0.0);
    for (const CallTimes::Slow& slow : undisturbed_.slowest()) {
        report.note("  %.1f us at call %ld: %s", 1e6 * slow.seconds, slow.call, slow.what.c_str());
    }
    report.expect(meter_.non_finite() == 0, "%ld output samples are not finite",
                  meter_.non_finite());
    report.expect(meter_.above_ceiling() == 0,
                  "%ld output samples above the ceiling, the first %.6g at call %ld (ceiling "
                  "%.4g)",
                  meter_.above_ceiling(), meter_.first_above_value(), meter_.first_above_call(),
                  meter_.first_above_ceiling());
    report.expect(allocations == 0, "%ld allocations inside the processing call", allocations);
    return meter_.non_finite() == 0 && meter_.above_ceiling() == 0 && allocations == 0;
}
