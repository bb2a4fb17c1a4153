#include "TimeCheck.h"

#include "Instance.h"
#include "support/AtomImage.h"
#include "support/GuardedBytes.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Case {
    std::string name;
    std::vector<std::uint8_t> bytes;
    double tempo; // the tempo it should leave in use; NaN: any within range
};

double folded(double bpm) {
    while (bpm < 60.0) {
        bpm *= 2.0;
    }
    while (bpm > 240.0) {
        bpm /= 2.0;
    }
    return bpm;
}

// The sequence's size field (after its header), written over.
void set_u32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
    std::memcpy(bytes.data() + at, &v, sizeof v);
}

// Offsets inside a one-event position sequence (AtomImage::position_event).
constexpr std::size_t event_size_at = 16 + 8;  // the event's body atom size
constexpr std::size_t event_type_at = 16 + 12; // its type
constexpr std::size_t value_size_at = 16 + 32; // the tempo value atom's size
constexpr std::size_t value_type_at = 16 + 36;

// Random bytes behind a true sequence header.
std::vector<std::uint8_t> random_sequence(const AtomImage::Urids& u, std::mt19937& rng) {
    std::vector<std::uint8_t> b = AtomImage(u).sequence_header().bytes();
    b.resize(16 + rng() % 400);
    for (std::size_t k = 16; k < b.size(); ++k) {
        b[k] = std::uint8_t(rng());
    }
    set_u32(b, 0, std::uint32_t(b.size() - 8));
    return b;
}

// A good sequence with a few bytes after its size changed at random.
std::vector<std::uint8_t> damaged(std::vector<std::uint8_t> b, std::mt19937& rng) {
    for (int k = 0, changes = 1 + int(rng() % 6); k < changes; ++k) {
        b[8 + rng() % (b.size() - 8)] = std::uint8_t(rng());
    }
    return b;
}

std::vector<Case> malformed(const AtomImage::Urids& u) {
    const double any = std::numeric_limits<double>::quiet_NaN();
    auto one = [&u](double bpm) {
        return AtomImage(u).sequence_header().position_event(bpm, u.float_type).sized().bytes();
    };
    std::vector<Case> cases;
    cases.push_back({"a sequence of another type",
                     AtomImage(u)
                         .sequence_header(0, u.int_type)
                         .position_event(100.0, u.float_type)
                         .sized()
                         .bytes(),
                     any});
    cases.push_back({"a sequence shorter than its header",
                     AtomImage(u).u32(4).u32(u.sequence).u32(0).u32(0).bytes(), any});
    cases.push_back({"an empty sequence body", AtomImage(u).u32(0).u32(u.sequence).bytes(), any});
    {
        std::vector<std::uint8_t> b = one(100.0);
        b.resize(16 + 10); // half an event header
        set_u32(b, 0, std::uint32_t(b.size() - 8));
        cases.push_back({"an event header cut short", b, any});
    }
    {
        std::vector<std::uint8_t> b = one(100.0);
        set_u32(b, event_size_at, 1000);
        cases.push_back({"an event larger than its sequence", b, any});
    }
    {
        // A 399-byte sequence whose position object claims 3.9 GB.
        std::vector<std::uint8_t> b = one(100.0);
        b.resize(8 + 399, 0);
        set_u32(b, 0, 399);
        set_u32(b, event_size_at, 3900000000u);
        cases.push_back({"a 399-byte sequence holding an object of 3.9 GB", b, any});
    }
    // One good position with fields that lie: each (offset, value) written.
    struct Patch {
        const char* what;
        std::vector<std::pair<std::size_t, std::uint32_t>> fields;
    };
    const Patch patches[] = {
        {"an event of the largest size", {{event_size_at, 0xFFFFFFFFu}}},
        {"an object shorter than its header", {{event_size_at, 4}}},
        {"a tempo value past its object", {{value_size_at, 1000}}},
        {"a property header cut short", {{event_size_at, 8 + 10}}},
        {"an object nested as the tempo, claiming 3.9 GB",
         {{value_type_at, u.object}, {value_size_at, 3900000000u}}},
        {"a float tempo of size 0", {{value_size_at, 0}}},
        {"a double tempo of 4 bytes", {{value_type_at, u.double_type}}},
        {"an event that is no object", {{event_type_at, u.int_type}}},
    };
    for (const Patch& p : patches) {
        std::vector<std::uint8_t> b = one(100.0);
        for (const auto& [at, value] : p.fields) {
            set_u32(b, at, value);
        }
        cases.push_back({p.what, b, any});
    }
    cases.push_back(
        {"a tempo as an integer",
         AtomImage(u).sequence_header().position_event(90.0, u.int_type).sized().bytes(), any});
    {
        // A good position, one whose size lies, then another good one: the
        // first is taken, the lie ends the sequence.
        AtomImage image(u);
        image.sequence_header().position_event(97.0, u.float_type);
        const std::size_t lie = image.bytes().size() + 8;
        image.position_event(140.0, u.float_type).position_event(150.0, u.float_type).sized();
        set_u32(image.bytes(), lie, 100000);
        cases.push_back({"a good position before a lying one", image.bytes(), 97.0});
    }
    return cases;
}

} // namespace

void TimeCheck::run(Report& report) {
    Instance instance(c_.host, c_.plugin, c_.ports, 48000.0);
    if (!instance.ok()) {
        report.fail("the plug-in does not instantiate at 48000 Hz");
        return;
    }
    std::vector<float> in(64, 0.1f), out_l(64), out_r(64);
    instance.connect_audio(in.data(), in.data(), out_l.data(), out_r.data());
    const AtomImage::Urids u(c_.host.urid_map());
    const float* tempo = instance.control("tempo_in_use");
    GuardedBytes guarded(1 << 16);
    double expected = 120.0;
    long failures = 0;
    auto play = [&](const Case& c) {
        set_current_case(("the time event case: " + c.name).c_str());
        instance.connect_time(guarded.place(c.bytes));
        instance.run(64);
        bool ok = std::isfinite(out_l[0]) && std::isfinite(out_r[63]) && std::isfinite(*tempo) &&
                  *tempo >= 60.0f && *tempo <= 240.0f;
        if (!std::isnan(c.tempo)) {
            expected = c.tempo;
            ok = ok && std::abs(*tempo - expected) < 1e-3 * expected;
        }
        if (!ok && ++failures <= 20) {
            report.fail("%s: tempo in use %g (expected %g), output %g", c.name.c_str(),
                        double(*tempo), expected, double(out_l[0]));
        }
    };

    // Tempos hosts send, odd ones included, each folded into 60..240 by
    // octaves; tempos that are no positive numbers leave the tempo alone.
    const double odd[] = {1e-3,  0.5,     7.3,   59.999, 60.0,   133.7,
                          240.0, 240.001, 999.0, 1e6,    3.4e38, 1e-40};
    const double nonsense[] = {0.0, -120.0, std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity()};
    for (const bool as_double : {false, true}) {
        for (const double bpm : odd) {
            const std::uint32_t type = as_double ? u.double_type : u.float_type;
            play({"a tempo of " + std::to_string(bpm) + (as_double ? " (double)" : " (float)"),
                  AtomImage(u).sequence_header().position_event(bpm, type).sized().bytes(),
                  folded(as_double ? bpm : double(float(bpm)))});
            for (const double bad : nonsense) {
                play({"a tempo of " + std::to_string(bad),
                      AtomImage(u).sequence_header().position_event(bad, type).sized().bytes(),
                      expected});
            }
        }
    }
    for (const Case& c : malformed(u)) {
        play(c);
    }
    // Random sequences: random bytes behind a true sequence header, and
    // good positions with random bytes changed (sizes among them).
    std::mt19937 rng(c_.seed);
    const std::vector<std::uint8_t> good = AtomImage::positions(u, {100.0, 120.0, 140.0});
    for (int n = 0; n < 4000; ++n) {
        play({"random sequence " + std::to_string(n),
              n % 2 == 0 ? random_sequence(u, rng) : damaged(good, rng),
              std::numeric_limits<double>::quiet_NaN()});
    }
    report.note("%zu tempos, %zu malformed sequences, 4000 random and damaged ones",
                2 * (sizeof odd / sizeof odd[0]) * (1 + sizeof nonsense / sizeof nonsense[0]),
                malformed(u).size());
    if (failures > 20) {
        report.fail("... %ld cases in all", failures);
    }
}
