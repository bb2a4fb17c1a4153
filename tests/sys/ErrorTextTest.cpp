// Error texts: the system's message, cut to the buffer, always terminated,
// and echoed to the debugger output.
#include "sys/ErrorText.h"

#include "sys/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

TEST(ErrorText, copies_the_system_text_cut_to_the_buffer) {
    const std::string full = std::strerror(ENOENT);
    ASSERT_GT(full.size(), 4u);
    struct Case {
        std::size_t size;
        std::string expected;
    };
    const Case cases[] = {
        {1, ""},
        {2, full.substr(0, 1)},
        {5, full.substr(0, 4)},
        {full.size(), full.substr(0, full.size() - 1)},
        {full.size() + 1, full},
        {sys::max_error_text + 100, full},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::string buffer(c.size + 1, '#'); // one guard byte past the end
        sys::format_error(&buffer[0], c.size, ENOENT);
        EXPECT_EQ(std::string(buffer.c_str()), c.expected);
        EXPECT_EQ(buffer[c.size], '#');
    }
}

TEST(ErrorText, a_zero_sized_buffer_is_left_untouched) {
    char guard = '#';
    sys::format_error(&guard, 0, EACCES);
    EXPECT_EQ(guard, '#');
}

TEST(ErrorText, unknown_codes_still_give_a_text_and_it_reaches_the_debugger_output) {
    ScopedEnv debug("QUEVRIN_DEBUG", "1");
    for (int code : {EACCES, 0, 999999, -5}) {
        SCOPED_TRACE(code);
        char buffer[256];
        testing::internal::CaptureStderr();
        sys::format_error(buffer, sizeof buffer, code);
        const std::string written = testing::internal::GetCapturedStderr();
        EXPECT_GT(std::strlen(buffer), 0u);
        EXPECT_EQ(written, std::string(buffer) + "\n");
    }
}

} // namespace
