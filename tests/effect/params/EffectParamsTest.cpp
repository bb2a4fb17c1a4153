// Every parameter class of the effect: conversions both ways, text forms and
// their parsers, names and the edge cases users meet when typing.
#include "effect/params/DelayLineParams.h"
#include "effect/params/EngineParams.h"
#include "effect/params/TapParams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

using namespace effect;

namespace {

struct Fixture {
    Fixture() {
        unit.set_unit_mode(mppi::TimeUnit::beats);
        unit.set_tempo_value(120.0);
    }
    mppi::TimeUnit unit;
};

struct ClassCase {
    const char* name;
    std::function<std::unique_ptr<mppi::NormalizedParamInterface>(mppi::TimeUnit&)> make;
    bool parses;
};

template <class P>
std::unique_ptr<mppi::NormalizedParamInterface> numbered(int number) {
    auto p = std::make_unique<P>();
    p->init_numbered(0.0, 1, number);
    return p;
}

const ClassCase classes[] = {
    {"Flags", [](mppi::TimeUnit& u) { return std::make_unique<ParamFlags>(u); }, false},
    {"Tempo", [](mppi::TimeUnit& u) { return std::make_unique<ParamTempo>(u); }, true},
    {"Predly lvl", [](mppi::TimeUnit&) { return std::make_unique<ParamDryLvl>(); }, true},
    {"Fdbk sep.", [](mppi::TimeUnit&) { return std::make_unique<ParamFdbkSeparation>(); }, true},
    {"D1 level", [](mppi::TimeUnit&) { return numbered<ParamDlyLvl>(0); }, true},
    {"D2 pan", [](mppi::TimeUnit&) { return numbered<ParamDlyPan>(1); }, true},
    {"D1 time",
     [](mppi::TimeUnit& u) {
         auto p = std::make_unique<ParamDlyTime>(u);
         p->init_numbered(0.75, 4, 0);
         return std::unique_ptr<mppi::NormalizedParamInterface>(std::move(p));
     },
     true},
    {"D1 fdbk", [](mppi::TimeUnit&) { return numbered<ParamDlyFdbk>(0); }, true},
    {"D1 filt type", [](mppi::TimeUnit&) { return numbered<ParamDlyFiltType>(0); }, false},
    {"D1 filt cutoff", [](mppi::TimeUnit&) { return numbered<ParamDlyFiltCutoff>(0); }, true},
    {"D1 filt reso", [](mppi::TimeUnit&) { return numbered<ParamDlyFiltReso>(0); }, true},
    {"D1 filt Q", [](mppi::TimeUnit&) { return numbered<ParamDlyFiltQ>(0); }, true},
    {"D1 disto type", [](mppi::TimeUnit&) { return numbered<ParamDlyDistType>(0); }, false},
    {"D1 disto lvl", [](mppi::TimeUnit&) { return numbered<ParamDlyDistLvl>(0); }, true},
    {"D2 HS cutoff", [](mppi::TimeUnit&) { return numbered<ParamDlyHsCutoff>(1); }, true},
    {"D2 HS level", [](mppi::TimeUnit&) { return numbered<ParamDlyHsLvl>(1); }, true},
    {"Tap 3 time",
     [](mppi::TimeUnit& u) {
         auto p = std::make_unique<ParamTapTime>(u);
         p->init_numbered(0.0, 4, 2);
         return std::unique_ptr<mppi::NormalizedParamInterface>(std::move(p));
     },
     true},
    {"Tap 1 level", [](mppi::TimeUnit&) { return numbered<ParamTapLvl>(0); }, true},
    {"Tap 4 pan", [](mppi::TimeUnit&) { return numbered<ParamTapPan>(3); }, true},
};

} // namespace

TEST(EffectParams, names) {
    Fixture f;
    for (const ClassCase& c : classes)
        EXPECT_EQ(c.make(f.unit)->get_name(), c.name);
}

// to_normalized(to_internal(n)) gives n back: within 2e-6 for the continuous
// classes; the stepped ones (flags, filter type) give their step's value.
TEST(EffectParams, normalized_round_trip_over_the_whole_range) {
    Fixture f;
    for (const ClassCase& c : classes) {
        auto p = c.make(f.unit);
        const bool stepped =
            std::string(c.name) == "Flags" || std::string(c.name) == "D1 filt type";
        for (int i = 0; i <= 1000; ++i) {
            const float n = i / 1000.0f;
            const double back = p->to_normalized(p->to_internal(n));
            ASSERT_GE(back, 0.0) << c.name << " " << n;
            ASSERT_LE(back, 1.0) << c.name << " " << n;
            if (stepped) {
                // the internal value of the step is a fixed point
                EXPECT_EQ(p->to_internal(float(back)), p->to_internal(n)) << c.name << " " << n;
            } else {
                EXPECT_NEAR(back, n, 2e-6) << c.name << " " << n;
            }
        }
    }
}

namespace {

// "%.1f" writes a hair below 0 dB as "-0.0", which reads back as 0 dB.
std::string without_negative_zero(const std::string& text) {
    return text == "-0.0" ? "0.0" : text;
}

bool is_time(const mppi::NormalizedParamInterface& p) {
    return p.get_name().find(" time") != std::string::npos;
}

} // namespace

// Parsing the text of a value gives a value with the same text. Times are
// written in a field of 5 characters, so their text can be coarser than the
// value: a beat fraction comes from a short search over small denominators
// (one digit each once there is a whole part), seconds are cut to 5
// characters. There the parsed value stays within the text's precision and
// retyping the text settles on a fixed text within a few passes.
TEST(EffectParams, text_parse_round_trip) {
    Fixture f;
    for (int unit_mode : {mppi::TimeUnit::beats, mppi::TimeUnit::seconds}) {
        f.unit.set_unit_mode(unit_mode);
        for (const ClassCase& c : classes) {
            if (!c.parses)
                continue;
            auto p = c.make(f.unit);
            for (int i = 0; i <= 200; ++i) {
                const double v = p->to_internal(i / 200.0f);
                const std::string text = p->to_text(v);
                bool ok = false;
                const double again = p->from_text(text, ok);
                ASSERT_TRUE(ok) << c.name << " '" << text << "'";
                if (!is_time(*p)) {
                    EXPECT_EQ(p->to_text(again), without_negative_zero(text)) << c.name << " " << v;
                    continue;
                }
                const double precision = unit_mode == mppi::TimeUnit::seconds ? 0.004
                                         : v < 1.0                            ? 1.0 / 32
                                                                              : 1.0 / 18;
                EXPECT_NEAR(again, v, precision) << c.name << " '" << text << "'";
                std::string settled = text;
                int passes = 0;
                for (; passes < 5; ++passes) {
                    const std::string next = p->to_text(p->from_text(settled, ok));
                    if (next == settled)
                        break;
                    settled = next;
                }
                EXPECT_LT(passes, 5) << c.name << " '" << text << "' does not settle";
            }
        }
    }
}

TEST(EffectParams, classes_that_do_not_parse_refuse_every_text) {
    Fixture f;
    for (const ClassCase& c : classes) {
        if (c.parses)
            continue;
        auto p = c.make(f.unit);
        bool ok = true;
        p->from_text(p->to_text(p->to_internal(0.5f)), ok);
        EXPECT_FALSE(ok) << c.name;
    }
}

TEST(EffectParams, texts_at_the_edges) {
    Fixture f;
    ParamDlyLvl level;
    EXPECT_EQ(level.to_text(4.0), "12.0");
    EXPECT_EQ(level.to_text(1.0), "0.0");
    EXPECT_EQ(level.to_text(0.00001), "-oo");
    EXPECT_EQ(level.to_text(0.0), "-oo");
    EXPECT_EQ(level.to_text(0.5), "-6.0");

    ParamTapPan pan;
    EXPECT_EQ(pan.to_text(-0.5), "L 50");
    EXPECT_EQ(pan.to_text(0.3), "R 30");
    EXPECT_EQ(pan.to_text(0.005), "Mid");
    EXPECT_EQ(pan.to_text(-1.0), "L 100");

    ParamDlyFiltCutoff cutoff;
    EXPECT_EQ(cutoff.to_text(999.4), "999.4");
    EXPECT_EQ(cutoff.to_text(999.5), "1000");
    EXPECT_EQ(cutoff.to_text(440.0), "440.0");
    EXPECT_EQ(cutoff.to_text(10240.0), "10240");
    EXPECT_EQ(cutoff.get_unit(), "Hz");

    ParamFlags flags(f.unit);
    EXPECT_EQ(flags.to_text(64), "BT 1");
    EXPECT_EQ(flags.to_text(0), "MS 1");
    EXPECT_EQ(flags.to_text(127), "BT 2 SL M1 M2 F1 F2");
    EXPECT_EQ(flags.to_text(48), "MS 2 SL");
    EXPECT_EQ(flags.to_internal(1.0f), 0.0); // 256 keeps only its low 8 bits
    EXPECT_EQ(flags.to_internal(0.25f), 64.0);

    ParamTempo tempo(f.unit);
    EXPECT_EQ(tempo.to_text(120.0), "120.000");
    EXPECT_EQ(tempo.to_text(97.12345), "97.123");
    EXPECT_EQ(tempo.to_text(240.0), "240.000");

    ParamDlyFiltReso reso;
    EXPECT_EQ(reso.to_text(16.0), "24.1");
    EXPECT_EQ(reso.to_text(1.0), "0.0");

    ParamDlyFiltType type;
    EXPECT_EQ(type.to_text(0), "Low-pass");
    EXPECT_EQ(type.to_text(3), "Band-pass");
    ParamDlyDistType dist;
    EXPECT_EQ(dist.to_text(0.4), "Overdrive");
    EXPECT_EQ(dist.to_text(0.6), "Puncher");

    ParamDlyTime time(f.unit);
    EXPECT_EQ(time.to_text(0.75), "3/4");
    EXPECT_EQ(time.get_unit(), "beat");
}

TEST(EffectParams, typed_values) {
    Fixture f;
    struct Case {
        std::function<std::unique_ptr<mppi::NormalizedParamInterface>(mppi::TimeUnit&)> make;
        const char* text;
        bool ok;
        double value;
    };
    const auto lvl = [](mppi::TimeUnit&) { return numbered<ParamDlyLvl>(0); };
    const auto pan = [](mppi::TimeUnit&) { return numbered<ParamDlyPan>(0); };
    const auto tempo = [](mppi::TimeUnit& u) { return std::make_unique<ParamTempo>(u); };
    const auto fdbk = [](mppi::TimeUnit&) { return numbered<ParamDlyFdbk>(0); };
    const auto reso = [](mppi::TimeUnit&) { return numbered<ParamDlyFiltReso>(0); };
    const auto hs = [](mppi::TimeUnit&) { return numbered<ParamDlyHsLvl>(0); };
    const auto tap_time = [](mppi::TimeUnit& u) { return std::make_unique<ParamTapTime>(u); };
    const auto dly_time = [](mppi::TimeUnit& u) { return std::make_unique<ParamDlyTime>(u); };
    const Case cases[] = {
        {lvl, "-", true, 0.0},
        {lvl, "", true, 0.0},
        {lvl, "-oo", true, 0.0},
        {lvl, "-6", true, std::pow(10.0, -6.0 / 20.0)},
        {lvl, "+20", true, 4.0},
        {lvl, "loud", false, 0.0},
        {pan, "L 50", true, -0.5},
        {pan, "r30", true, 0.3},
        {pan, "Mid", true, 0.0},
        {pan, "m", true, 0.0},
        {pan, "50", false, 0.0},
        {pan, "L", false, 0.0},
        {pan, "R 250", true, 1.0},
        {tempo, "300", true, 240.0},
        {tempo, "10", true, 60.0},
        {tempo, "nan", false, 0.0},
        {fdbk, "50", true, 0.5},
        {fdbk, "150", true, 1.0},
        {reso, "24", true, std::pow(10.0, 24.0 / 20.0)},
        {reso, "40", true, 16.0},
        {hs, "3", true, 1.0},
        {hs, "-oo", true, 0.0},
        {tap_time, "3/4", true, 0.75},
        {tap_time, "10", true, 4.0},
        {tap_time, "0", true, 0.0},
        {dly_time, "0", true, 0.0078125},
        {dly_time, "250 ms", true, 0.5},
        {dly_time, "1/0", false, 0.0},
    };
    for (const Case& c : cases) {
        auto p = c.make(f.unit);
        bool ok = !c.ok;
        const double v = p->from_text(c.text, ok);
        EXPECT_EQ(ok, c.ok) << p->get_name() << " '" << c.text << "'";
        if (c.ok) {
            EXPECT_NEAR(v, c.value, 1e-12) << p->get_name() << " '" << c.text << "'";
        }
    }
}

TEST(EffectParams, flags_and_tempo_drive_the_time_unit) {
    Fixture f;
    ParamFlags flags(f.unit);
    flags.init(64, 1);
    flags.set_internal(0);
    EXPECT_EQ(f.unit.get_unit_mode(), mppi::TimeUnit::seconds);
    flags.set_normalized(0.25f);
    EXPECT_EQ(f.unit.get_unit_mode(), mppi::TimeUnit::beats);

    ParamTempo tempo(f.unit);
    tempo.init(120, 1);
    tempo.set_normalized(1.0f);
    EXPECT_EQ(f.unit.get_tempo(), 240.0);
}
