// Embedded module resources: every manifest entry is found in place, by type
// and name in any case, with its file's bytes; a miss is null and reported.
#include "sys/Resource.h"

#include "sys/TestSupport.h"
#include "sys/posix/ResourceTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

std::string to_case(std::string text, int (*convert)(int)) {
    for (char& c : text) {
        c = static_cast<char>(convert(static_cast<unsigned char>(c)));
    }
    return text;
}

TEST(Resource, every_manifest_entry_is_embedded_with_its_file_s_bytes) {
    const char* source = std::getenv("QUEVRIN_SOURCE_DIR");
    if (source == nullptr) {
        GTEST_SKIP() << "QUEVRIN_SOURCE_DIR is not set (run through ctest)";
    }
    const std::string dir = std::string(source) + "/resources/";
    std::istringstream manifest(read_file(dir + "resources.txt"));
    std::size_t entries = 0;
    for (std::string line; std::getline(manifest, line);) {
        std::istringstream fields(line.substr(0, line.find('#')));
        std::string type, name, path;
        if (!(fields >> type >> name >> path)) {
            continue;
        }
        ++entries;
        SCOPED_TRACE(type + " " + name);
        const std::string expected = read_file(dir + path);
        std::size_t size = 1234;
        const void* data =
            sys::get_ressource(to_case(type, tolower), to_case(name, toupper), &size);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % 16, 0u);
        ASSERT_EQ(size, expected.size());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), static_cast<const char*>(data)));
    }
    EXPECT_GT(entries, 0u);
    EXPECT_EQ(sys::resource_table().count, entries);
}

TEST(Resource, a_missing_resource_is_null_with_zero_size_and_a_diagnostic) {
    ASSERT_GT(sys::resource_table().count, 0u);
    const std::string type = sys::resource_table().entries[0].type;
    const std::string name = sys::resource_table().entries[0].name;
    const std::pair<std::string, std::string> misses[] = {
        {type, "no_such_resource"}, {"NOPE", name}, {type, name.substr(1)},
        {type, name + "x"},         {"", ""},       {type + "x", name}};
    test::ScopedEnv debug("QUEVRIN_DEBUG", "1");
    for (const auto& [miss_type, miss_name] : misses) {
        std::size_t size = 99;
        testing::internal::CaptureStderr();
        EXPECT_EQ(sys::get_ressource(miss_type, miss_name, &size), nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "sys::get_ressource: Error: couldn't load ressource.\n");
        EXPECT_EQ(size, 0u) << miss_type << " " << miss_name;
    }
}

} // namespace
