// Debugger output reaches stderr only when QUEVRIN_DEBUG is set.
#include "sys/DebugOutput.h"

#include "sys/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(DebugOutput, is_written_to_stderr_only_when_QUEVRIN_DEBUG_is_non_empty) {
    const std::pair<std::optional<std::string>, bool> cases[] = {
        {std::nullopt, false}, {"", false}, {"1", true}, {"0", true}};
    const std::string text("two\nlines with a NUL \0 inside\n", 30);
    for (const auto& [setting, written] : cases) {
        test::ScopedEnv debug("QUEVRIN_DEBUG", setting);
        testing::internal::CaptureStderr();
        sys::debug_output(text);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), written ? text : "")
            << setting.value_or("(unset)");
    }
}

} // namespace
