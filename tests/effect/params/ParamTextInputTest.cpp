// Typed values for every kind of parameter, including those that parse no
// text and are set by the text they show.
#include "mppi/ParamTextInput.h"

#include "support/EngineHarness.h"

#include <gtest/gtest.h>

TEST(ParamTextInput, typed_and_shown_texts) {
    test::Engine e;
    struct Case {
        const char* param;
        const char* text;
        bool ok;
        double internal;
    };
    const Case cases[] = {
        {"D1 fdbk", "45", true, 0.45},
        {"D1 time", "3/4", true, 0.75},
        {"D1 filt type", "Low-pass", true, 0},
        {"D1 filt type", "band-PASS", true, 3},
        {"D1 filt type", "Notch", false, 0},
        {"Flags", "BT 2 SL", true, 64 + 32 + 16},
        {"Flags", "MS 1", true, 0},
        {"Flags", "BT 1 M2", true, 64 + 4},
        {"Flags", "1 BT", false, 0},
        {"D2 disto type", "Puncher", true, 1},
        {"D2 disto type", "Overdrive", true, 0},
        {"Tap 1 pan LFO WF", "Random", true, 7},
        {"Tap 1 pan LFO WF", " white noise ", true, 9},
        {"Predly lvl", "-6", true, std::pow(10.0, -6.0 / 20.0)},
    };
    for (const Case& c : cases) {
        mppi::NormalizedParamInterface& p = e.param(c.param);
        float n = -1.0f;
        EXPECT_EQ(mppi::read_param_text(p, c.text, n), c.ok) << c.param << " " << c.text;
        if (c.ok) {
            EXPECT_NEAR(p.to_internal(n), c.internal, 1e-6) << c.param << " " << c.text;
            EXPECT_EQ(p.to_text(p.to_internal(n)), p.to_text(c.internal));
        }
    }
}
