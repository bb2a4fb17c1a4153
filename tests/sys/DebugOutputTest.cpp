// Debugger output reaches stderr only when QUEVRIN_DEBUG is set.
#include "sys/DebugOutput.h"

#include "sys/TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

TEST(DebugOutput, is_written_to_stderr_only_when_QUEVRIN_DEBUG_is_non_empty) {
    struct Case {
        std::optional<std::string> setting;
        bool written;
    };
    const Case cases[] = {{std::nullopt, false}, {"", false}, {"1", true}, {"0", true}};
    const std::string text = std::string("line one\nline two with a NUL \0 inside\n", 37);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting.value_or("(unset)"));
        ScopedEnv debug("QUEVRIN_DEBUG", c.setting);
        testing::internal::CaptureStderr();
        sys::debug_output(text);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.written ? text : "");
    }
}

} // namespace
