#include "ControlsCheck.h"

#include "AllocationWatch.h"
#include "Instance.h"
#include "Soak.h"
#include "mppi/preset/ProgramSlot.h"

#include <lv2/atom/atom.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

float garbage(std::mt19937& rng, const PortMap::Control& c) {
    const float inf = std::numeric_limits<float>::infinity();
    const float values[] = {std::numeric_limits<float>::quiet_NaN(),
                            inf,
                            -inf,
                            1e30f,
                            -1e30f,
                            1e-40f,
                            -1e-40f,
                            c.maximum + 1000.0f,
                            c.minimum - 1000.0f,
                            c.maximum * 10.0f + 1.0f,
                            0.5f * (c.minimum + c.maximum) + 0.25f};
    return values[rng() % (sizeof values / sizeof values[0])];
}

// Whether a saved program record holds a normalized value (finite, within
// [0, 1]) for every parameter.
bool normalized(const std::vector<std::uint8_t>& record) {
    mppi::ProgramSlot program;
    if (program.read(record.data(), int(record.size())) != 0) {
        return false;
    }
    for (const float v : program.values()) {
        if (!(v >= 0.0f && v <= 1.0f)) {
            return false;
        }
    }
    return program.get_nbr_values() > 0;
}

float in_range(std::mt19937& rng, const PortMap::Control& c) {
    if (c.integer) {
        return c.minimum + float(rng() % (unsigned(std::lround(c.maximum - c.minimum)) + 1));
    }
    return std::uniform_real_distribution<float>(c.minimum, c.maximum)(rng);
}

} // namespace

void ControlsCheck::run(Report& report) {
    set_current_case("random and garbage control values");
    Instance instance(c_.host, c_.plugin, c_.ports, 48000.0);
    if (!instance.ok()) {
        report.fail("the plug-in does not instantiate at 48000 Hz");
        return;
    }
    std::vector<float> in_l(256), in_r(256), out_l(256), out_r(256);
    instance.connect_audio(in_l.data(), in_r.data(), out_l.data(), out_r.data());
    std::vector<float*> controls;
    for (const PortMap::Control& c : c_.ports.controls()) {
        controls.push_back(instance.control(c.symbol));
    }
    // The loudest output any program may give this input.
    SoakTarget::Levels loudest;
    loudest.predelay = 4.0;
    for (double& t : loudest.tap) {
        t = 4.0;
    }
    loudest.line[0] = loudest.line[1] = 4.0;
    loudest.two_lines = true;
    const double bound = Soak::ceiling(loudest, 0.5);
    const float* tempo = instance.control("tempo_in_use");
    const PortMap::Control* tempo_port = c_.ports.control("tempo");

    std::mt19937 rng(c_.seed);
    std::uint32_t state = c_.seed;
    long non_finite = 0, loud = 0, allocations = 0, bad_tempo = 0, unrestorable = 0;
    for (int call = 0; call < 6000; ++call) {
        const bool hostile = call >= 2000;
        for (std::size_t k = 0; k < controls.size(); ++k) {
            const PortMap::Control& c = c_.ports.controls()[k];
            // Garbage on a few ports at a time, in range on the others.
            *controls[k] = hostile && rng() % 12 == 0 ? garbage(rng, c) : in_range(rng, c);
        }
        in_l = noise(256, 0.5f, state);
        in_r = noise(256, 0.5f, state);
        instance.connect_audio(in_l.data(), in_r.data(), out_l.data(), out_r.data());
        AllocationWatch::begin();
        instance.run(256);
        allocations += AllocationWatch::end();
        for (std::size_t i = 0; i < 256; ++i) {
            for (const float x : {out_l[i], out_r[i]}) {
                non_finite += std::isfinite(x) ? 0 : 1;
                loud += std::abs(x) > bound ? 1 : 0;
            }
        }
        bad_tempo +=
            std::isfinite(*tempo) && *tempo >= tempo_port->minimum && *tempo <= tempo_port->maximum
                ? 0
                : 1;
        if (call % 500 == 499) {
            // What it saves, a second instance takes.
            const std::vector<std::uint8_t> record = instance.save_record();
            Instance other(c_.host, c_.plugin, c_.ports, 48000.0);
            const bool restored =
                !record.empty() &&
                other.restore_record(record.data(), record.size(), c_.host.map(LV2_ATOM__Chunk)) ==
                    LV2_STATE_SUCCESS;
            unrestorable += restored && normalized(record) ? 0 : 1;
        }
    }
    report.note("6000 blocks: all ports random in range, from block 2000 on some with garbage");
    report.expect(non_finite == 0, "%ld output samples not finite", non_finite);
    report.expect(loud == 0, "%ld output samples above %.4g, the loudest the design allows", loud,
                  bound);
    report.expect(allocations == 0, "%ld allocations in run()", allocations);
    report.expect(bad_tempo == 0, "the tempo in use left its range in %ld blocks", bad_tempo);
    report.expect(unrestorable == 0,
                  "%ld saved programs could not be restored or held values outside [0, 1]",
                  unrestorable);
}
