// The Win32 services of the Linux layer: window notifications, code-page
// conversion, GUID text and events.
#include "host/dx/platform/com.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

TEST(PlatformServicesTest, windows_exist_until_destroyed_and_queue_posted_messages) {
    const HWND window = comshim::create_window();
    const HWND other = comshim::create_window();
    EXPECT_NE(window, nullptr);
    EXPECT_NE(window, other);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(PostMessageA(window, WM_COMMAND, (1u << 16) | 7, 0));
    EXPECT_TRUE(PostMessageA(window, WM_COMMAND, (100u << 16) | 7, 0));
    const auto messages = comshim::take_messages(window);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, WM_COMMAND);
    EXPECT_EQ(HIWORD(messages[0].wparam), 1);
    EXPECT_EQ(LOWORD(messages[0].wparam), 7);
    EXPECT_EQ(HIWORD(messages[1].wparam), 100);
    EXPECT_TRUE(comshim::take_messages(window).empty());
    EXPECT_TRUE(comshim::take_messages(other).empty());

    comshim::destroy_window(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(PostMessageA(window, WM_COMMAND, 0, 0));
    EXPECT_FALSE(IsWindow(nullptr));
    comshim::destroy_window(other);
}

TEST(PlatformServicesTest, multibyte_text_converts_to_utf16) {
    struct Case {
        const char* text;
        std::u16string expected;
    } const cases[] = {
        {"Hall", u"Hall"},
        {"Gr\xC3\xBC\xC3\x9F"
         "e",
         u"Gr\u00FC\u00DFe"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xF0\x9F\x8E\xB5", u"\U0001F3B5"},     // outside the BMP: a surrogate pair
        {"a\xFFz", u"a\uFFFDz"},                 // invalid byte
        {"\xC0\x80", u"\uFFFD\uFFFD"},           // overlong encoding
        {"\xE2\x82", u"\uFFFD\uFFFD"},           // truncated sequence
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // encoded surrogate
    };
    for (const Case& c : cases) {
        const int needed = MultiByteToWideChar(CP_ACP, 0, c.text, -1, nullptr, 0);
        ASSERT_EQ(needed, static_cast<int>(c.expected.size()) + 1) << c.text;
        std::u16string out(needed, u'?');
        ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, c.text, -1, reinterpret_cast<LPWSTR>(out.data()),
                                      needed),
                  needed);
        EXPECT_EQ(out, c.expected + u'\0') << c.text;
    }
}

TEST(PlatformServicesTest, multibyte_conversion_follows_the_win32_length_rules) {
    WCHAR out[8];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, out, 8), 3);  // no terminator counted
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, out, 3), 0); // no room for it
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, out, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, out, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, out, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0x8, "a\xFF", -1, out, 8), 0); // invalid chars refused
    char back[8];
    const WCHAR euro[] = {0x20AC, 0};
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, euro, -1, back, 8, nullptr, nullptr), 4);
    EXPECT_EQ(std::string(back), "\xE2\x82\xAC");
}

TEST(PlatformServicesTest, guids_print_in_registry_form) {
    WCHAR text[39];
    ASSERT_EQ(StringFromGUID2(MEDIATYPE_Audio, text, 39), 39);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)),
              u"{73647561-0000-0010-8000-00AA00389B71}");
    EXPECT_EQ(StringFromGUID2(MEDIATYPE_Audio, text, 38), 0);
}

TEST(PlatformServicesTest, auto_reset_events_release_one_wait_each) {
    const HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    SetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    std::thread setter([event] { SetEvent(event); });
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
    setter.join();
    CloseHandle(event);

    const HANDLE manual = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    ResetEvent(manual);
    EXPECT_EQ(WaitForSingleObject(manual, 10), WAIT_TIMEOUT);
    CloseHandle(manual);
}

} // namespace
