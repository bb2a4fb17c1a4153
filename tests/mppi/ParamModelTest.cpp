// A parameter's two views, its change path and its names.
#include "mppi/DspInterface.h"
#include "mppi/ParamNamed.h"
#include "mppi/ParamNumbered.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// An LV2 plug-in's run() sets parameters and the tempo: nothing on that path
// may throw, and no override may promise less.
static_assert(noexcept(std::declval<mppi::NormalizedParamInterface&>().set_normalized(0.5f)));
static_assert(noexcept(std::declval<mppi::NormalizedParamInterface&>().set_internal(1.0)));
static_assert(noexcept(std::declval<mppi::NormalizedParamInterface&>().update()));
static_assert(noexcept(std::declval<const mppi::NormalizedParamInterface&>().to_internal(0.5f)));
static_assert(noexcept(std::declval<const mppi::NormalizedParamInterface&>().to_normalized(1.0)));
static_assert(noexcept(std::declval<mppi::DspInterface&>().get_param(0)));
static_assert(noexcept(std::declval<mppi::DspInterface&>().set_tempo(120.0f)));

// Internal = 10 × normalized; records what update() saw.
class TenfoldParam : public mppi::ParamNumbered {
public:
    std::string get_unit() const override { return "u"; }
    void update() noexcept override { seen_in_update.push_back(get_internal()); }
    double to_internal(float n) const noexcept override { return 10.0 * n; }
    double to_normalized(double v) const noexcept override { return v / 10.0; }
    std::string to_text(double v) const override { return std::to_string(v); }
    double from_text(const std::string&, bool& ok) const override {
        ok = false;
        return 0.0;
    }
    std::string get_prefix() const override { return "Tap "; }
    std::string get_suffix() const override { return " level"; }

    std::vector<double> seen_in_update;
};

struct Recorder : mppi::NotifiedInterface {
    void notify(mppi::NotifierInterface* source) noexcept override {
        sources.push_back(source);
        internal_then.push_back(static_cast<TenfoldParam*>(source)->get_internal());
    }
    std::vector<mppi::NotifierInterface*> sources;
    std::vector<double> internal_then;
};

} // namespace

TEST(ParamModel, starts_unset_and_init_derives_the_normalized_value) {
    TenfoldParam p;
    EXPECT_EQ(p.get_internal(), 0.0);
    EXPECT_EQ(p.get_normalized(), 0.0f);
    EXPECT_EQ(p.get_attribute(), -1);
    p.init_numbered(4.0, 2, 0);
    EXPECT_EQ(p.get_internal(), 4.0);
    EXPECT_FLOAT_EQ(p.get_normalized(), 0.4f);
    EXPECT_EQ(p.get_attribute(), 2);
    EXPECT_TRUE(p.seen_in_update.empty()); // init neither updates nor notifies
}

TEST(ParamModel, a_numbered_name_shows_the_number_plus_one) {
    TenfoldParam p;
    p.init_numbered(0.0, 1, 0);
    EXPECT_EQ(p.get_name(), "Tap 1 level");
    p.init_numbered(0.0, 1, 3);
    EXPECT_EQ(p.get_name(), "Tap 4 level");
    EXPECT_EQ(p.get_number(), 3);
}

TEST(ParamModel, a_change_stores_converts_updates_then_notifies) {
    TenfoldParam p;
    Recorder r;
    p.set_target(&r);
    p.set_normalized(0.25f);
    EXPECT_EQ(p.get_normalized(), 0.25f);
    EXPECT_EQ(p.get_internal(), 2.5);
    ASSERT_EQ(p.seen_in_update.size(), 1u);
    EXPECT_EQ(p.seen_in_update[0], 2.5);
    ASSERT_EQ(r.sources.size(), 1u);
    EXPECT_EQ(r.sources[0], &p);
    EXPECT_EQ(r.internal_then[0], 2.5);

    p.set_internal(7.0);
    EXPECT_FLOAT_EQ(p.get_normalized(), 0.7f);
    EXPECT_EQ(p.get_internal(), 7.0);
    EXPECT_EQ(r.sources.size(), 2u);
}

TEST(ParamModel, without_a_target_nobody_is_told) {
    TenfoldParam p;
    p.set_normalized(0.5f);
    EXPECT_EQ(p.seen_in_update.size(), 1u);
    EXPECT_EQ(p.get_target(), nullptr);
}
