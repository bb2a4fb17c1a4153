// The window table of the adapter core: registration limits, the messages
// posted when formats are set and when a persisted program is loaded, and
// windows that no longer exist.
#include "CoreHarness.h"
#include "host/dx/platform/MemoryStream.h"
#include "platform/AudioTypes.h"
#include "platform/TestSinkFilter.h"
#include "platform/TestSourceFilter.h"

#include <gtest/gtest.h>

namespace {

std::vector<WPARAM> commands(HWND window) {
    std::vector<WPARAM> result;
    for (const comshim::PostedMessage& m : comshim::take_messages(window)) {
        EXPECT_EQ(m.message, WM_COMMAND);
        EXPECT_EQ(m.lparam, 0);
        result.push_back(m.wparam);
    }
    return result;
}

TEST(NotificationTest, holds_two_windows_and_refuses_a_third) {
    CoreHarness core;
    const HWND a = comshim::create_window();
    const HWND b = comshim::create_window();
    const HWND c = comshim::create_window();
    EXPECT_EQ(core.filter->SetNotifyWindow(a, 1), S_OK);
    EXPECT_EQ(core.filter->SetNotifyWindow(b, 2), S_OK);
    EXPECT_EQ(core.filter->SetNotifyWindow(a, 3), S_OK) << "a known window changes its id";
    EXPECT_EQ(core.filter->SetNotifyWindow(c, 4), E_OUTOFMEMORY);
    EXPECT_EQ(core.filter->SetNotifyWindow(c, 0), S_OK);
    EXPECT_EQ(core.filter->SetNotifyWindow(b, 0), S_OK);
    EXPECT_EQ(core.filter->SetNotifyWindow(c, 4), S_OK) << "b's entry was freed";

    core.filter->notify_windows(7);
    EXPECT_EQ(commands(a), (std::vector<WPARAM>{(7u << 16) | 3}));
    EXPECT_TRUE(commands(b).empty());
    EXPECT_EQ(commands(c), (std::vector<WPARAM>{(7u << 16) | 4}));
    for (HWND w : {a, b, c}) {
        comshim::destroy_window(w);
    }
}

TEST(NotificationTest, a_window_that_no_longer_exists_loses_its_entry) {
    CoreHarness core;
    const HWND gone = comshim::create_window();
    const HWND kept = comshim::create_window();
    ASSERT_EQ(core.filter->SetNotifyWindow(gone, 5), S_OK);
    ASSERT_EQ(core.filter->SetNotifyWindow(kept, 6), S_OK);
    comshim::destroy_window(gone);
    core.filter->notify_windows(100);
    EXPECT_EQ(commands(kept), (std::vector<WPARAM>{(100u << 16) | 6}));
    const HWND third = comshim::create_window();
    EXPECT_EQ(core.filter->SetNotifyWindow(third, 8), S_OK);
    comshim::destroy_window(kept);
    comshim::destroy_window(third);
}

TEST(NotificationTest, setting_the_formats_posts_codes_0_and_1_and_a_load_posts_100) {
    const LONG baseline = dshow::CBaseObject::ObjectsActive();
    const HWND window = comshim::create_window();
    {
        CoreHarness core;
        ASSERT_EQ(core.filter->SetNotifyWindow(window, 42), S_OK);
        TestSourceFilter* source =
            TestSourceFilter::create(make_audio_type(WAVE_FORMAT_PCM, 1, 22050, 16), 2, 512);
        TestSinkFilter* sink = TestSinkFilter::create();
        ASSERT_EQ(source->output()->Connect(core.filter->GetPin(0), nullptr), S_OK);
        EXPECT_EQ(commands(window), (std::vector<WPARAM>{42}));
        ASSERT_EQ(core.filter->GetPin(1)->Connect(sink->input(), nullptr), S_OK);
        EXPECT_EQ(commands(window), (std::vector<WPARAM>{(1u << 16) | 42}));

        dshow::MemoryStream stream;
        ASSERT_EQ(core.filter->Save(&stream, TRUE), S_OK);
        stream.rewind();
        ASSERT_EQ(core.filter->Load(&stream), S_OK);
        EXPECT_EQ(commands(window), (std::vector<WPARAM>{(100u << 16) | 42}));
        stream.bytes()[20] = 'X';
        stream.rewind();
        EXPECT_EQ(core.filter->Load(&stream), E_FAIL);
        EXPECT_TRUE(commands(window).empty()) << "a refused load tells nobody";

        core.filter->GetPin(0)->Disconnect();
        core.filter->GetPin(1)->Disconnect();
        source->output()->Disconnect();
        sink->input()->Disconnect();
        source->Release();
        sink->Release();
    }
    comshim::destroy_window(window);
    EXPECT_EQ(dshow::CBaseObject::ObjectsActive(), baseline);
}

} // namespace
