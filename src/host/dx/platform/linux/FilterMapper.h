// The filter mapper on Linux: keeps filter registrations (name, merit, pins
// and their media types) in the file-backed registry, under
// HKEY_CLASSES_ROOT\CLSID\{category}\Instance\{instance}, where the CLI host
// can list them. Created through CoCreateInstance(CLSID_FilterMapper2).
#pragma once

#include "host/dx/platform/linux/Registry.h"

#include <atomic>
#include <string>
#include <utility>
#include <vector>

namespace comshim {

class FilterMapper : public IFilterMapper2 {
public:
    FilterMapper() = default;
    virtual ~FilterMapper() = default;
    FilterMapper(const FilterMapper&) = delete;
    FilterMapper& operator=(const FilterMapper&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // [any thread] Records the category's name and merit.
    STDMETHODIMP CreateCategory(REFCLSID category, DWORD merit, LPCWSTR description) override;
    // [any thread] A null category is the default (legacy) category; a null
    // instance is the filter's class id. An unknown filter gives 0x80070002.
    STDMETHODIMP UnregisterFilter(const CLSID* category, LPCOLESTR instance,
                                  REFCLSID filter) override;
    // [any thread] Version 1 records only; no moniker is returned.
    STDMETHODIMP RegisterFilter(REFCLSID filter, LPCWSTR name, IMoniker** moniker,
                                const CLSID* category, LPCOLESTR instance,
                                const REGFILTER2* record) override;
    // Monikers do not exist here: use registered_filters() to list. E_NOTIMPL.
    STDMETHODIMP EnumMatchingFilters(IEnumMoniker** filters, DWORD flags, BOOL exact_match,
                                     DWORD merit, BOOL input_needed, DWORD input_type_count,
                                     const GUID* input_types, const REGPINMEDIUM* medium_in,
                                     const CLSID* pin_category_in, BOOL render, BOOL output_needed,
                                     DWORD output_type_count, const GUID* output_types,
                                     const REGPINMEDIUM* medium_out,
                                     const CLSID* pin_category_out) override;

private:
    std::atomic<ULONG> m_references{0};
};

struct RegisteredPin {
    std::u16string name;
    bool rendered;
    bool output;
    bool zero;
    bool many;
    CLSID connects_to_filter;
    std::u16string connects_to_pin;
    std::vector<std::pair<CLSID, CLSID>> media_types; // major type, subtype
};

struct RegisteredFilter {
    CLSID clsid;
    std::u16string name;
    DWORD merit;
    std::vector<RegisteredPin> pins;
};

// [any thread] The filters registered in a category, in registry order.
std::vector<RegisteredFilter>
registered_filters(const CLSID& category = CLSID_LegacyAmFilterCategory);

} // namespace comshim
