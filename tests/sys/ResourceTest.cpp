// Embedded module resources: every manifest entry is found in place with the
// bytes of its file, and a missing one gives null and a diagnostic.
#include "sys/Resource.h"

#include "sys/TestEnvironment.h"
#include "sys/posix/ResourceTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

struct ManifestEntry {
    std::string type, name, path;
};

std::string resources_dir() {
    const char* source = std::getenv("QUEVRIN_SOURCE_DIR");
    return source != nullptr ? std::string(source) + "/resources" : std::string();
}

// An independent reading of the manifest, to compare the generated table with.
std::vector<ManifestEntry> read_manifest(const std::string& dir) {
    std::ifstream in(dir + "/resources.txt");
    std::vector<ManifestEntry> entries;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line.substr(0, line.find('#')));
        ManifestEntry entry;
        if (fields >> entry.type >> entry.name >> entry.path) {
            entries.push_back(entry);
        }
    }
    return entries;
}

std::vector<unsigned char> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Resource, every_manifest_entry_is_embedded_with_its_file_s_bytes) {
    const std::string dir = resources_dir();
    if (dir.empty()) {
        GTEST_SKIP() << "QUEVRIN_SOURCE_DIR is not set (run through ctest)";
    }
    const std::vector<ManifestEntry> manifest = read_manifest(dir);
    ASSERT_FALSE(manifest.empty());
    ASSERT_EQ(sys::resource_table().count, manifest.size());
    for (const ManifestEntry& entry : manifest) {
        SCOPED_TRACE(entry.type + " " + entry.name);
        const std::vector<unsigned char> expected = read_file(dir + "/" + entry.path);
        std::size_t size = 1234;
        const auto* data =
            static_cast<const unsigned char*>(sys::get_ressource(entry.type, entry.name, &size));
        ASSERT_NE(data, nullptr);
        ASSERT_EQ(size, expected.size());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), data));
    }
}

TEST(Resource, lookup_returns_the_table_s_own_bytes_and_ignores_case) {
    const sys::ResourceTable table = sys::resource_table();
    ASSERT_GT(table.count, 0u);
    for (std::size_t i = 0; i < table.count; ++i) {
        const sys::ResourceEntry& entry = table.entries[i];
        EXPECT_EQ(sys::get_ressource(entry.type, entry.name), entry.data);
        std::string lower_type = entry.type;
        std::string upper_name = entry.name;
        for (char& c : lower_type) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        for (char& c : upper_name) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        EXPECT_EQ(sys::get_ressource(lower_type, upper_name), entry.data);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(entry.data) % 16, 0u);
    }
}

TEST(Resource, a_missing_resource_is_null_with_zero_size_and_a_diagnostic) {
    const sys::ResourceEntry& known = sys::resource_table().entries[0];
    const std::string type = known.type;
    const std::string name = known.name;
    const struct {
        std::string type, name;
    } misses[] = {
        {type, "no_such_resource"}, {"NOPE", name}, {type, name.substr(0, name.size() - 1)},
        {type, name + "x"},         {"", ""},       {type.substr(1), name},
    };
    ScopedEnv debug("QUEVRIN_DEBUG", "1");
    for (const auto& miss : misses) {
        SCOPED_TRACE(miss.type + " " + miss.name);
        std::size_t size = 99;
        testing::internal::CaptureStderr();
        EXPECT_EQ(sys::get_ressource(miss.type, miss.name, &size), nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "sys::get_ressource: Error: couldn't load ressource.\n");
        EXPECT_EQ(size, 0u);
    }
}

} // namespace
