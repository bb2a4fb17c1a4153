// The file-backed registry and the filter mapper over it: keys and values
// round-trip through the file, and filter registration lists and unlists.
#include "PassThroughFilter.h"
#include "host/dx/platform/linux/FilterMapper.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

using namespace dshow;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        file = std::filesystem::temp_directory_path() /
               ("quevrin-registry-" + std::to_string(::getpid()) + "-" + info->name()) / "registry";
        std::filesystem::remove_all(file.parent_path());
        registry_env.emplace("QUEVRIN_REGISTRY", file.string());
    }
    void TearDown() override {
        registry_env.reset();
        std::filesystem::remove_all(file.parent_path());
    }
    std::filesystem::path file;
    std::optional<test::ScopedEnv> registry_env;
};

std::string query_text(HKEY key, const char* name) {
    char text[64] = {};
    DWORD size = sizeof text;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return "<missing>";
    }
    return text;
}

TEST_F(RegistryTest, keys_and_values_round_trip_through_the_file) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{1}\\InprocServer32", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    const char path[] = "/usr/lib/quevrin.so";
    ASSERT_EQ(
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), sizeof path),
        ERROR_SUCCESS);
    const char model[] = "Both";
    ASSERT_EQ(RegSetValueExA(key, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model),
                             sizeof model),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_TRUE(std::filesystem::exists(file));

    // Names match without regard to case; the default value has no name.
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "clsid\\{1}\\inprocserver32", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(query_text(key, ""), path);
    EXPECT_EQ(query_text(key, "threadingmodel"), "Both");
    EXPECT_EQ(query_text(key, "Other"), "<missing>");
    char small[4];
    DWORD size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key, "ThreadingModel", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(small), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 5u);
    RegCloseKey(key);

    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_READ, &key), ERROR_SUCCESS);
    char name[16];
    DWORD length = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(name), "{1}");
    length = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegDeleteTreeA(key, "{1}"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeA(key, "{1}"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{1}\\InprocServer32", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, the_file_location_follows_the_environment) {
    EXPECT_EQ(comshim::registry_file(), file.string());
    const test::ScopedEnv no_registry("QUEVRIN_REGISTRY", std::nullopt);
    const test::ScopedEnv config_home("XDG_CONFIG_HOME", "/tmp/config-home");
    EXPECT_EQ(comshim::registry_file(), "/tmp/config-home/quevrin/registry");
}

TEST_F(RegistryTest, a_corrupt_line_is_skipped_and_the_rest_read) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "[HKEY_CLASSES_ROOT\\A]\ngarbage without tabs\nName\t4\t2a000000\n";
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "A", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(
        RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(value, 42u);
    RegCloseKey(key);
}

TEST_F(RegistryTest, module_registration_lists_and_unlists_the_filter) {
    ASSERT_EQ(AMovieDllRegisterServer2(TRUE), S_OK);
    ASSERT_EQ(AMovieDllRegisterServer2(TRUE), S_OK); // again: replaced, not doubled
    const auto filters = comshim::registered_filters();
    ASSERT_EQ(filters.size(), 1u);
    const comshim::RegisteredFilter& filter = filters[0];
    EXPECT_TRUE(IsEqualCLSID(filter.clsid, CLSID_PassThroughFilter));
    EXPECT_EQ(filter.name, u"Test - Pass Through");
    EXPECT_EQ(filter.merit, static_cast<DWORD>(MERIT_DO_NOT_USE));
    ASSERT_EQ(filter.pins.size(), 2u);
    EXPECT_EQ(filter.pins[0].name, u"Input");
    EXPECT_FALSE(filter.pins[0].output);
    EXPECT_EQ(filter.pins[0].connects_to_pin, u"Output");
    EXPECT_EQ(filter.pins[1].name, u"Output");
    EXPECT_TRUE(filter.pins[1].output);
    ASSERT_EQ(filter.pins[1].media_types.size(), 1u);
    EXPECT_TRUE(IsEqualGUID(filter.pins[1].media_types[0].first, MEDIATYPE_Audio));
    EXPECT_TRUE(IsEqualGUID(filter.pins[1].media_types[0].second, GUID_NULL));

    ASSERT_EQ(AMovieDllRegisterServer2(FALSE), S_OK);
    EXPECT_TRUE(comshim::registered_filters().empty());
    // Nothing left to unregister still counts as success.
    EXPECT_EQ(AMovieDllRegisterServer2(FALSE), S_OK);
}

TEST_F(RegistryTest, a_filter_registers_itself_through_iamoviesetup) {
    HRESULT hr = S_OK;
    CUnknown* object = PassThroughFilter::CreateInstance(nullptr, &hr);
    object->NonDelegatingAddRef();
    IAMovieSetup* setup = nullptr;
    ASSERT_EQ(
        object->NonDelegatingQueryInterface(IID_IAMovieSetup, reinterpret_cast<void**>(&setup)),
        S_OK);
    EXPECT_EQ(setup->Register(), S_OK);
    EXPECT_EQ(comshim::registered_filters().size(), 1u);
    EXPECT_EQ(setup->Unregister(), S_OK);
    EXPECT_TRUE(comshim::registered_filters().empty());
    setup->Release();
    object->NonDelegatingRelease();
}

TEST_F(RegistryTest, the_mapper_reports_an_unknown_filter_as_file_not_found) {
    IFilterMapper2* mapper = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IFilterMapper2, reinterpret_cast<void**>(&mapper)),
              S_OK);
    EXPECT_EQ(mapper->UnregisterFilter(nullptr, nullptr, CLSID_PassThroughFilter),
              static_cast<HRESULT>(0x80070002u));
    REGFILTER2 version2{};
    version2.dwVersion = 2;
    EXPECT_EQ(mapper->RegisterFilter(CLSID_PassThroughFilter, WIDE_TEXT("x"), nullptr, nullptr,
                                     nullptr, &version2),
              E_NOTIMPL);
    mapper->Release();
    IUnknown* other = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_PassThroughFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&other)),
              REGDB_E_CLASSNOTREG);
}

} // namespace
