// Opening a URL runs xdg-open with the URL as its only argument and reports
// a launcher that is missing or fails; a missing one is named to the user.
#include "sys/Url.h"

#include "sys/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(OpenUrl, reports_a_launcher_that_is_missing_unusable_or_failing) {
    // xdg-open stand-in (null: none on PATH), whether it may run, result
    const std::tuple<const char*, bool, int> cases[] = {
        {nullptr, true, -1}, {"exit 0", false, -1}, {"exit 0", true, 0}, {"exit 3", true, -1}};
    test::ScopedEnv debug("QUEVRIN_DEBUG", "1");
    const std::string missing = "quevrin: the web page https://example.com/ opens with "
                                "xdg-open, which is not installed (Debian package xdg-utils)\n";
    for (const auto& [script, executable, expected] : cases) {
        TempDir dir;
        if (script != nullptr) {
            dir.add_script("xdg-open", script);
        }
        if (!executable) {
            std::filesystem::permissions(dir.path + "/xdg-open",
                                         std::filesystem::perms::owner_read);
        }
        test::ScopedEnv path("PATH", dir.path);
        testing::internal::CaptureStderr();
        EXPECT_EQ(sys::open_url("https://example.com/"), expected);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  (script == nullptr ? missing : "") +
                      (expected == 0 ? "" : "sys::open_url: Error: couldn't open html browser.\n"));
    }
}

TEST(OpenUrl, passes_the_url_verbatim_without_a_shell) {
    TempDir dir;
    dir.add_script("xdg-open", "printf '%s|' \"$#\" \"$@\" > '" + dir.path + "/arguments'");
    test::ScopedEnv path("PATH", dir.path + ":/usr/bin:/bin");
    const std::string url = "https://example.com/jump.php?type=product&id=7;echo $(id) 'x'";
    EXPECT_EQ(sys::open_url(url), 0);
    EXPECT_EQ(dir.read("arguments"), "1|" + url + "|");
}

} // namespace
