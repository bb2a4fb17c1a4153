#include "StateCheck.h"

#include "Instance.h"
#include "mppi/preset/ProgramSlot.h"
#include "support/AtomImage.h"
#include "support/GuardedBytes.h"

#include <lv2/atom/atom.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

namespace {

struct Rendered {
    std::vector<float> left, right;
};

Rendered render(Instance& instance, std::uint32_t seed, int blocks) {
    Rendered r;
    std::vector<float> out_l(256), out_r(256);
    std::uint32_t state = seed;
    for (int b = 0; b < blocks; ++b) {
        const std::vector<float> l = noise(256, 0.5f, state);
        const std::vector<float> rr = noise(256, 0.5f, state);
        instance.connect_audio(l.data(), rr.data(), out_l.data(), out_r.data());
        instance.run(256);
        r.left.insert(r.left.end(), out_l.begin(), out_l.end());
        r.right.insert(r.right.end(), out_r.begin(), out_r.end());
    }
    return r;
}

bool finite(const Rendered& r) {
    for (std::size_t i = 0; i < r.left.size(); ++i) {
        if (!std::isfinite(r.left[i]) || !std::isfinite(r.right[i])) {
            return false;
        }
    }
    return true;
}

// Every value of the record it saves is a normalized one.
bool holds_normalized_values(Instance& instance) {
    const std::vector<std::uint8_t> record = instance.save_record();
    mppi::ProgramSlot program;
    if (record.empty() || program.read(record.data(), int(record.size())) != 0) {
        return false;
    }
    for (const float v : program.values()) {
        if (!(v >= 0.0f && v <= 1.0f)) {
            return false;
        }
    }
    return true;
}

} // namespace

void StateCheck::run(Report& report) {
    set_current_case("a state saved and restored");
    Instance a(c_.host, c_.plugin, c_.ports, 48000.0);
    Instance b(c_.host, c_.plugin, c_.ports, 48000.0);
    if (!a.ok() || !b.ok()) {
        report.fail("the plug-in does not instantiate at 48000 Hz");
        return;
    }
    std::mt19937 rng(c_.seed);
    for (const PortMap::Control& c : c_.ports.controls()) {
        // The random waveforms' generators run on through an activation, so
        // two instances play alike only with the periodic ones (the first 7).
        const bool waveform =
            c.symbol.size() > 7 && c.symbol.rfind("_lfo_wf") == c.symbol.size() - 7;
        const float top = waveform ? std::min(c.maximum, c.minimum + 6.0f) : c.maximum;
        *a.control(c.symbol) =
            c.integer ? c.minimum + float(rng() % (unsigned(std::lround(top - c.minimum)) + 1))
                      : std::uniform_real_distribution<float>(c.minimum, top)(rng);
    }
    // The tempo is the host's, not the record's: the host sends it to both.
    const std::vector<std::uint8_t> tempo =
        AtomImage::positions(AtomImage::Urids(c_.host.urid_map()), {97.25});
    a.set_time(tempo);
    render(a, c_.seed, 20);
    const LV2_URID chunk = c_.host.map(LV2_ATOM__Chunk);
    const std::vector<std::uint8_t> saved = a.save_record();
    report.expect(!saved.empty(), "nothing saved");
    report.expect(b.restore_record(saved.data(), saved.size(), chunk) == LV2_STATE_SUCCESS,
                  "a saved record is not restored");
    b.set_time(tempo);
    render(b, c_.seed, 1);
    report.expect(b.save_record() == saved, "a restored record saves other bytes");
    for (Instance* i : {&a, &b}) {
        lilv_instance_deactivate(i->lilv());
        lilv_instance_activate(i->lilv());
    }
    const Rendered ra = render(a, c_.seed + 1, 400);
    const Rendered rb = render(b, c_.seed + 1, 400);
    report.expect(ra.left == rb.left && ra.right == rb.right,
                  "the restored instance plays otherwise than the saved one");

    // Damaged records, each ending where reading on would fault.
    GuardedBytes guarded(1 << 16);
    long failures = 0;
    auto damaged = [&](const std::string& what, const std::vector<std::uint8_t>& bytes,
                       LV2_URID type, bool must_refuse) {
        set_current_case(("the state case: " + what).c_str());
        const std::vector<std::uint8_t> before = b.save_record();
        const LV2_State_Status status = b.restore_record(guarded.place(bytes), bytes.size(), type);
        bool ok = holds_normalized_values(b) && finite(render(b, c_.seed, 2));
        if (status != LV2_STATE_SUCCESS) {
            ok = ok && b.save_record() == before; // refused: nothing changed
        }
        ok = ok && (!must_refuse || status != LV2_STATE_SUCCESS);
        if (!ok && ++failures <= 20) {
            report.fail("%s: status %d", what.c_str(), int(status));
        }
    };
    for (const LV2_URID type : {LV2_URID(0), c_.host.map(LV2_ATOM__String),
                                c_.host.map(LV2_ATOM__Int), c_.host.map("urn:nowhere")}) {
        damaged("a record of type " + std::to_string(type), saved, type, true);
    }
    for (std::size_t n = 0; n < saved.size(); ++n) {
        damaged("a record cut to " + std::to_string(n) + " bytes",
                std::vector<std::uint8_t>(saved.begin(), saved.begin() + long(n)), chunk, false);
    }
    for (int n = 0; n < 3000; ++n) {
        std::vector<std::uint8_t> bytes;
        if (n % 2 == 0) {
            bytes.resize(rng() % 1200);
            for (std::uint8_t& x : bytes) {
                x = std::uint8_t(rng());
            }
        } else {
            bytes = saved;
            for (int k = 0, changes = 1 + int(rng() % 8); k < changes; ++k) {
                bytes[rng() % bytes.size()] = std::uint8_t(rng());
            }
        }
        damaged("random record " + std::to_string(n), bytes, chunk, false);
    }
    report.note("a round trip, 4 wrong types, %zu truncations, 3000 random and damaged records",
                saved.size());
    if (failures > 20) {
        report.fail("... %ld cases in all", failures);
    }
}
