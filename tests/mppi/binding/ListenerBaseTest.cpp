// Binding a control to a parameter: user changes go to the host under their
// priority (which may refuse them), refreshes show the parameter without
// writing it back, and MetaControl routes parameter changes to the control.
#include "mppi/binding/ListenerBase.h"
#include "mppi/HostGuiInterface.h"
#include "mppi/ParamWriter.h"
#include "mppi/binding/MetaControl.h"
#include "pengui/ControlInterface.h"
#include "support/FakeDsp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mppi;

namespace {

// Host services on the adapters' write protocol, logging what reaches them.
class ArbitratingHost : public HostGuiInterface {
public:
    ArbitratingHost() { writer.attach(dsp); }
    void init_notice() override {}
    double get_num_property(const char*) override { return 0; }
    bool may_change_param(int index, int priority) override {
        return lenient || writer.may_change(index, priority);
    }
    void release_param(int index, int priority) override {
        log.push_back("release " + std::to_string(index) + " " + std::to_string(priority));
        writer.release(index, priority);
    }
    bool set_param(int index, float value, int priority) override {
        log.push_back("set " + std::to_string(index) + " " + std::to_string(priority));
        return writer.write(index, value, priority);
    }
    void set_prog(const ProgramSlot&, int) override {}
    int resize_window(int, int) override { return 0; }
    NormalizedParamInterface* param(int index) { return dsp.get_param(index); }

    FakeDsp dsp{std::make_shared<std::vector<std::string>>(), 8};
    ParamWriter writer{[] { return 100.0; }};
    std::vector<std::string> log;
    bool lenient = false;
};

struct Binding {
    Binding() {
        listener.set_host(&host);
        listener.bind(5, host.param(5));
        meta.bind(&control, &listener);
    }
    ArbitratingHost host;
    ListenerBase listener;
    pengui::ControlInterface control;
    MetaControl meta;
};

} // namespace

TEST(ListenerBase, user_values_reach_the_host_under_their_priority) {
    Binding b;
    EXPECT_EQ(b.listener.attached_control(), &b.control);
    EXPECT_EQ(b.listener.get_param(), b.host.param(5));
    EXPECT_TRUE(b.control.set_value_from_user(0.25, 200));
    EXPECT_EQ(b.host.param(5)->get_normalized(), 0.25f);
    EXPECT_EQ(b.host.log.back(), "set 5 200");

    // A higher writer holds parameter 5: the host refuses, the parameter
    // keeps its value; whether the control asks first (refused at once) or
    // the refusal comes from set_param itself.
    ASSERT_TRUE(b.host.writer.write(5, 0.25f, 250));
    for (bool lenient : {false, true}) {
        b.host.lenient = lenient;
        b.host.log.clear();
        const bool stored = b.control.set_value_from_user(0.75, 200);
        EXPECT_EQ(stored, lenient);
        EXPECT_EQ(b.host.param(5)->get_normalized(), 0.25f) << lenient;
        EXPECT_EQ(b.host.log.size(), lenient ? 1u : 0u);
    }
    b.listener.gesture_ended(200);
    EXPECT_EQ(b.host.log.back(), "release 5 200");
}

TEST(ListenerBase, a_refresh_shows_the_parameter_without_writing_it_back) {
    Binding b;
    b.host.param(5)->set_normalized(0.625f);
    b.listener.refresh();
    EXPECT_DOUBLE_EQ(b.control.value(), 0.625);
    b.host.param(5)->set_normalized(0.5f);
    b.meta.refresh();
    EXPECT_DOUBLE_EQ(b.control.value(), 0.5);
    b.meta.show_value(0.125, 150);
    EXPECT_DOUBLE_EQ(b.control.value(), 0.125);
    EXPECT_TRUE(b.host.log.empty());
    EXPECT_EQ(b.host.param(5)->get_normalized(), 0.5f);
}
