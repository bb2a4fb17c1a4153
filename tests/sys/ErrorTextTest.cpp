// Error texts: the system's message cut to the buffer, always terminated,
// and echoed to the debugger output.
#include "sys/ErrorText.h"

#include "sys/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

TEST(ErrorText, copies_the_system_text_cut_to_the_buffer) {
    const std::string full = std::strerror(ENOENT);
    ASSERT_GT(full.size(), 4u);
    const std::size_t sizes[] = {0, 1, 2, 5, full.size(), full.size() + 1, 5000};
    for (std::size_t size : sizes) {
        std::string buffer(size + 1, '#'); // one guard byte past the end
        sys::format_error(&buffer[0], size, ENOENT);
        EXPECT_EQ(buffer[size], '#') << size;
        if (size > 0) {
            EXPECT_EQ(std::string(buffer.c_str()), full.substr(0, size - 1)) << size;
        }
    }
}

TEST(ErrorText, every_code_gives_a_text_that_also_reaches_the_debugger_output) {
    test::ScopedEnv debug("QUEVRIN_DEBUG", "1");
    for (int code : {EACCES, 0, 999999, -5}) {
        char buffer[256];
        testing::internal::CaptureStderr();
        sys::format_error(buffer, sizeof buffer, code);
        EXPECT_GT(std::strlen(buffer), 0u) << code;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(buffer) + "\n");
    }
}

} // namespace
