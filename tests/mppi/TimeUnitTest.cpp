// Durations are written as beat fractions that fit their field and typed
// texts are read in the unit they name.
#include "mppi/TimeUnit.h"

#include <gtest/gtest.h>

using mppi::TimeUnit;

namespace {

// Unit beats at the tempo.
struct BeatUnit : TimeUnit {
    explicit BeatUnit(double tempo) {
        set_unit_mode(beats);
        set_tempo_value(tempo);
    }
};

} // namespace

TEST(TimeUnit, starts_in_milliseconds_at_120_bpm) {
    TimeUnit unit;
    EXPECT_EQ(unit.get_unit_mode(), TimeUnit::milliseconds);
    EXPECT_EQ(unit.get_unit_name(), "ms");
    EXPECT_EQ(unit.get_tempo(), 120.0);
    unit.set_unit_mode(TimeUnit::seconds);
    EXPECT_EQ(unit.get_unit_name(), "s");
    unit.set_unit_mode(TimeUnit::beats);
    EXPECT_EQ(unit.get_unit_name(), "beat");
}

TEST(TimeUnit, converts_between_seconds_and_beats) {
    BeatUnit unit(90.0);
    EXPECT_DOUBLE_EQ(unit.sec_to_beats(2.0), 3.0);
    EXPECT_DOUBLE_EQ(unit.beats_to_sec(3.0), 2.0);
}

TEST(TimeUnit, formats_beats_as_fractions_that_fit_the_width) {
    struct Case {
        double seconds;
        int width;
        const char* text;
    };
    const Case cases[] = {
        {0.375, 6, "3/4"},                     // three quarters
        {0.75, 6, "1 1/2"},                    // one and a half
        {1.0, 6, "2"},                         // a whole number keeps no fraction
        {0.4995, 6, "1"},                      // the fraction rounds up to a whole beat
        {0.0, 6, "0"},         {0.75, 3, "1"}, // g = 0: no room for a fraction
        {0.75, 2, "1"},                        // the whole part alone
        {0.75, 1, ""},                         // the whole part needs a character to spare
        {5.0, 1, ""},                          // "10" does not fit in 1 character
        {0.125, 6, "1/4"},     {0.5 / 3, 6, "1/3"},
        {0.3125, 6, "5/8"},    {0.3125, 2, ""}, // (2-1)/2 = 0 digits: nothing fits
        {0.4375, 3, "7/8"},                     // one digit each
        {0.46875, 3, "8/9"}, // 15/16 needs two digits: the nearest one-digit fraction
        {0.46875, 5, "15/16"}, {1.015625, 7, "2 1/32"},
        {1.015625, 6, "2"}, // one digit each: 1/32 rounds to 0
    };
    BeatUnit unit(120.0);
    for (const Case& c : cases)
        EXPECT_EQ(unit.format(c.seconds, c.width), c.text) << c.seconds << " s, width " << c.width;
}

TEST(TimeUnit, formats_seconds_and_milliseconds_with_g) {
    TimeUnit unit;
    unit.set_unit_mode(TimeUnit::milliseconds);
    EXPECT_EQ(unit.format(0.25, 6), "250.00");
    EXPECT_EQ(unit.format(0.25, 3), "250");
    unit.set_unit_mode(TimeUnit::seconds);
    EXPECT_EQ(unit.format(0.375, 5), "0.375");
    EXPECT_EQ(unit.format(2.0, 5), "2.000");
}

TEST(TimeUnit, parses_beat_fractions) {
    struct Case {
        const char* text;
        bool ok;
        double seconds;
    };
    const Case cases[] = {
        {"3/4", true, 0.375},   {"1 1/2", true, 0.75}, {"1 2", true, 0.25},   {"2", true, 1.0},
        {"3 / 4", true, 0.375}, {"1/0", false, 0.0},   {"1 1/0", false, 0.0}, {"-1", false, 0.0},
        {"1/-2", false, 0.0},   {"abc", false, 0.0},   {"", false, 0.0},      {"nan", false, 0.0},
    };
    BeatUnit unit(120.0);
    for (const Case& c : cases) {
        bool ok = !c.ok;
        const double s = unit.parse(c.text, ok);
        EXPECT_EQ(ok, c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(s, c.seconds) << c.text;
        }
    }
}

TEST(TimeUnit, a_unit_in_the_text_overrides_the_display_unit) {
    for (int mode : {TimeUnit::seconds, TimeUnit::beats, TimeUnit::milliseconds}) {
        BeatUnit unit(120.0);
        unit.set_unit_mode(mode);
        bool ok = false;
        EXPECT_DOUBLE_EQ(unit.parse("250ms", ok), 0.25);
        EXPECT_TRUE(ok);
        EXPECT_DOUBLE_EQ(unit.parse("250 MS", ok), 0.25);
        EXPECT_TRUE(ok);
        EXPECT_DOUBLE_EQ(unit.parse("2s", ok), 2.0);
        EXPECT_TRUE(ok);
        // "beats" holds an s: read as seconds.
        EXPECT_DOUBLE_EQ(unit.parse("2 beats", ok), 2.0);
        EXPECT_TRUE(ok);
        unit.parse("-5 ms", ok);
        EXPECT_FALSE(ok);
        unit.parse("ms", ok);
        EXPECT_FALSE(ok);
        unit.parse("nan s", ok);
        EXPECT_FALSE(ok);
    }
}

TEST(TimeUnit, plain_numbers_follow_the_display_unit) {
    BeatUnit unit(120.0);
    bool ok = false;
    unit.set_unit_mode(TimeUnit::milliseconds);
    EXPECT_DOUBLE_EQ(unit.parse("500", ok), 0.5);
    unit.set_unit_mode(TimeUnit::seconds);
    EXPECT_DOUBLE_EQ(unit.parse("0.5", ok), 0.5);
    unit.set_unit_mode(TimeUnit::beats);
    EXPECT_DOUBLE_EQ(unit.parse("0.5", ok), 0.25);
    EXPECT_TRUE(ok);
}

TEST(TimeUnit, formatting_then_parsing_keeps_the_text) {
    BeatUnit unit(97.0);
    for (double beats = 0.0; beats <= 4.0; beats += 0.0625) {
        const std::string text = unit.format(unit.beats_to_sec(beats), 6);
        bool ok = false;
        const double again = unit.parse(text, ok);
        ASSERT_TRUE(ok) << text;
        EXPECT_EQ(unit.format(again, 6), text) << beats;
    }
}
