// Registration through the older IFilterMapper, used where IFilterMapper2 is
// missing: the calls it makes, in order, and the results it tolerates.
#include "PassThroughFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records each call as a line of text; UnregisterFilter answers as told.
class RecordingMapper : public IFilterMapper {
public:
    STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP RegisterFilter(CLSID, LPCWSTR name, DWORD merit) override {
        calls.push_back("filter " + narrow(name) + " " + std::to_string(merit));
        return S_OK;
    }
    STDMETHODIMP RegisterFilterInstance(CLSID, LPCWSTR, CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP RegisterPin(CLSID, LPCWSTR name, BOOL, BOOL output, BOOL, BOOL, CLSID,
                             LPCWSTR connects_to) override {
        calls.push_back("pin " + narrow(name) + (output ? " out " : " in ") + narrow(connects_to));
        return S_OK;
    }
    STDMETHODIMP RegisterPinType(CLSID, LPCWSTR name, CLSID major, CLSID) override {
        calls.push_back("type " + narrow(name) +
                        (IsEqualGUID(major, MEDIATYPE_Audio) ? " audio" : " other"));
        return pin_type_result;
    }
    STDMETHODIMP UnregisterFilter(CLSID) override {
        calls.push_back("unregister");
        return unregister_result;
    }
    STDMETHODIMP UnregisterFilterInstance(CLSID) override { return E_NOTIMPL; }
    STDMETHODIMP UnregisterPin(CLSID, LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP EnumMatchingFilters(IEnumRegFilters**, DWORD, BOOL, CLSID, CLSID, BOOL, BOOL,
                                     CLSID, CLSID) override {
        return E_NOTIMPL;
    }

    static std::string narrow(LPCWSTR text) {
        std::string out;
        for (; text != nullptr && *text != 0; ++text) {
            out += static_cast<char>(*text);
        }
        return out;
    }

    std::vector<std::string> calls;
    HRESULT unregister_result = S_OK;
    HRESULT pin_type_result = S_OK;
};

TEST(AMovieSetupTest, registers_the_filter_its_pins_and_their_types_after_unregistering) {
    RecordingMapper mapper;
    mapper.unregister_result = static_cast<HRESULT>(0x80070002u); // never registered before
    EXPECT_EQ(dshow::AMovieSetupRegisterFilter(&pass_through_setup, &mapper, TRUE), S_OK);
    const std::vector<std::string> expected = {
        "unregister",           "filter Test - Pass Through 2097152",
        "pin Input in Output",  "type Input audio",
        "pin Output out Input", "type Output audio"};
    EXPECT_EQ(mapper.calls, expected);
}

const HRESULT access_denied = static_cast<HRESULT>(0x80070005u);

TEST(AMovieSetupTest, results_decide_how_far_registration_goes) {
    struct Case {
        BOOL do_register;
        HRESULT unregister_result;
        HRESULT pin_type_result;
        HRESULT expected;
        std::size_t calls;
    } const cases[] = {
        {FALSE, S_OK, S_OK, S_OK, 1},
        {FALSE, static_cast<HRESULT>(0x80070002u), S_OK, S_OK, 1},
        {TRUE, access_denied, S_OK, access_denied, 1},
        {TRUE, S_OK, E_FAIL, E_FAIL, 4}, // stops at the first failing pin type
    };
    for (const Case& c : cases) {
        RecordingMapper mapper;
        mapper.unregister_result = c.unregister_result;
        mapper.pin_type_result = c.pin_type_result;
        EXPECT_EQ(dshow::AMovieSetupRegisterFilter(&pass_through_setup, &mapper, c.do_register),
                  c.expected);
        EXPECT_EQ(mapper.calls.size(), c.calls);
    }
    EXPECT_EQ(dshow::AMovieSetupRegisterFilter(nullptr, nullptr, TRUE), E_POINTER);
}

} // namespace
