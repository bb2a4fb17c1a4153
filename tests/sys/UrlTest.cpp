// Opening a URL launches xdg-open with the URL as its only argument, and
// reports a launcher that is missing or fails.
#include "sys/Url.h"

#include "sys/TempDir.h"
#include "sys/TestEnvironment.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

const char* const failure_text = "sys::open_url: Error: couldn't open html browser.\n";

std::string read_text(const std::string& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(OpenUrl, reports_a_launcher_that_is_missing_or_fails) {
    struct Case {
        const char* what;
        const char* script; // null: no xdg-open on PATH
        int expected;
    };
    const Case cases[] = {
        {"no launcher", nullptr, -1},
        {"launcher not executable", "", -1},
        {"launcher succeeds", "exit 0", 0},
        {"launcher fails", "exit 3", -1},
    };
    ScopedEnv debug("QUEVRIN_DEBUG", "1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        ASSERT_FALSE(dir.path.empty());
        if (c.script != nullptr) {
            dir.add_script("xdg-open", c.script);
            if (*c.script == '\0') {
                std::filesystem::permissions(dir.path + "/xdg-open",
                                             std::filesystem::perms::owner_read);
            }
        }
        ScopedEnv path("PATH", dir.path);
        testing::internal::CaptureStderr();
        EXPECT_EQ(sys::open_url("https://example.com/"), c.expected);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.expected == 0 ? "" : failure_text);
    }
}

TEST(OpenUrl, passes_the_url_verbatim_without_a_shell) {
    TempDir dir;
    ASSERT_FALSE(dir.path.empty());
    const std::string record = dir.path + "/arguments";
    dir.add_script("xdg-open", "printf '%s|' \"$#\" \"$@\" > '" + record + "'");
    ScopedEnv path("PATH", dir.path + ":/usr/bin:/bin");
    const std::string url = "https://example.com/jump.php?type=product&productid=7;echo $(id) 'x'";
    EXPECT_EQ(sys::open_url(url), 0);
    EXPECT_EQ(read_text(record), "1|" + url + "|");
}

} // namespace
