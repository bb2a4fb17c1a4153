#include "host/dx/platform/linux/FilterMapper.h"

#include <cstdio>
#include <string>

namespace comshim {

namespace {

// An open registry key, closed when it goes out of scope.
class Key {
public:
    Key() = default;
    ~Key() {
        if (m_key != nullptr) {
            RegCloseKey(m_key);
        }
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    bool create(HKEY parent, const std::string& path) {
        return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &m_key, nullptr) == ERROR_SUCCESS;
    }
    bool open(HKEY parent, const std::string& path) {
        return RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &m_key) == ERROR_SUCCESS;
    }
    HKEY get() const { return m_key; }

    bool set(const char* name, const std::string& text) const {
        return RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }
    bool set(const char* name, DWORD number) const {
        return RegSetValueExA(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                              sizeof number) == ERROR_SUCCESS;
    }
    std::string text(const char* name) const {
        DWORD size = 0;
        if (RegQueryValueExA(m_key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
            return {};
        }
        std::string value(size, '\0');
        RegQueryValueExA(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()),
                         &size);
        value.resize(value.find('\0') == std::string::npos ? size : value.find('\0'));
        return value;
    }
    DWORD number(const char* name) const {
        DWORD value = 0;
        DWORD size = sizeof value;
        RegQueryValueExA(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
        return value;
    }
    std::vector<std::string> children() const {
        std::vector<std::string> names;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(m_key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                return names;
            }
            names.emplace_back(name, length);
        }
    }

private:
    HKEY m_key = nullptr;
};

std::string narrow(LPCWSTR text) {
    if (text == nullptr) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::u16string widen(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::u16string out(size > 0 ? size : 1, u'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), size);
    out.resize(out.size() - 1);
    return out;
}

std::string guid_text(REFGUID guid) {
    WCHAR text[39];
    StringFromGUID2(guid, text, 39);
    return narrow(text);
}

CLSID guid_from_text(const std::string& text) {
    unsigned int d1 = 0, d2 = 0, d3 = 0, d4[8] = {};
    CLSID guid = GUID_NULL;
    if (std::sscanf(text.c_str(), "{%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x}", &d1, &d2, &d3, &d4[0],
                    &d4[1], &d4[2], &d4[3], &d4[4], &d4[5], &d4[6], &d4[7]) == 11) {
        guid = {d1, static_cast<WORD>(d2), static_cast<WORD>(d3), {}};
        for (int i = 0; i < 8; ++i) {
            guid.Data4[i] = static_cast<BYTE>(d4[i]);
        }
    }
    return guid;
}

// Sub key names that sort in registration order, since keys enumerate sorted by name.
std::string index_name(std::size_t index) {
    char name[16];
    std::snprintf(name, sizeof name, "%04zu", index);
    return name;
}

std::string instance_path(const CLSID* category, LPCOLESTR instance, REFCLSID filter) {
    return "CLSID\\" + guid_text(category != nullptr ? *category : CLSID_LegacyAmFilterCategory) +
           "\\Instance\\" + (instance != nullptr ? narrow(instance) : guid_text(filter));
}

bool write_pin(const Key& pins, std::size_t index, const REGFILTERPINS& pin) {
    Key key;
    if (!key.create(pins.get(), index_name(index))) {
        return false;
    }
    bool ok = key.set("Name", narrow(pin.strName)) && key.set("Rendered", DWORD(pin.bRendered)) &&
              key.set("Output", DWORD(pin.bOutput)) && key.set("Zero", DWORD(pin.bZero)) &&
              key.set("Many", DWORD(pin.bMany)) &&
              key.set("ConnectsToFilter",
                      guid_text(pin.clsConnectsToFilter != nullptr ? *pin.clsConnectsToFilter
                                                                   : GUID_NULL)) &&
              key.set("ConnectsToPin", narrow(pin.strConnectsToPin));
    for (UINT t = 0; ok && t < pin.nMediaTypes; ++t) {
        const REGPINTYPES& type = pin.lpMediaType[t];
        Key type_key;
        ok = type_key.create(key.get(), "Types\\" + index_name(t)) &&
             type_key.set("MajorType",
                          guid_text(type.clsMajorType ? *type.clsMajorType : GUID_NULL)) &&
             type_key.set("SubType", guid_text(type.clsMinorType ? *type.clsMinorType : GUID_NULL));
    }
    return ok;
}

RegisteredPin read_pin(const Key& key) {
    RegisteredPin pin{
        widen(key.text("Name")),          key.number("Rendered") != 0,
        key.number("Output") != 0,        key.number("Zero") != 0,
        key.number("Many") != 0,          guid_from_text(key.text("ConnectsToFilter")),
        widen(key.text("ConnectsToPin")), {}};
    Key types;
    if (types.open(key.get(), "Types")) {
        for (const std::string& index : types.children()) {
            Key type;
            if (type.open(types.get(), index)) {
                pin.media_types.emplace_back(guid_from_text(type.text("MajorType")),
                                             guid_from_text(type.text("SubType")));
            }
        }
    }
    return pin;
}

} // namespace

STDMETHODIMP FilterMapper::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IFilterMapper2) {
        *ppv = static_cast<IFilterMapper2*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) FilterMapper::AddRef() {
    return ++m_references;
}

STDMETHODIMP_(ULONG) FilterMapper::Release() {
    const ULONG left = --m_references;
    if (left == 0) {
        delete this;
    }
    return left;
}

STDMETHODIMP FilterMapper::CreateCategory(REFCLSID category, DWORD merit, LPCWSTR description) {
    Key key;
    if (!key.create(HKEY_CLASSES_ROOT, "CLSID\\" + guid_text(category)) ||
        !key.set("FriendlyName", narrow(description)) || !key.set("Merit", merit)) {
        return E_FAIL;
    }
    return S_OK;
}

STDMETHODIMP FilterMapper::UnregisterFilter(const CLSID* category, LPCOLESTR instance,
                                            REFCLSID filter) {
    const std::string path = instance_path(category, instance, filter);
    return HRESULT_FROM_WIN32(RegDeleteTreeA(HKEY_CLASSES_ROOT, path.c_str()));
}

STDMETHODIMP FilterMapper::RegisterFilter(REFCLSID filter, LPCWSTR name, IMoniker** moniker,
                                          const CLSID* category, LPCOLESTR instance,
                                          const REGFILTER2* record) {
    if (moniker != nullptr) {
        *moniker = nullptr;
    }
    if (name == nullptr || record == nullptr || (record->cPins != 0 && record->rgPins == nullptr)) {
        return E_POINTER;
    }
    if (record->dwVersion != 1) {
        return E_NOTIMPL;
    }
    const std::string path = instance_path(category, instance, filter);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, path.c_str());
    Key key;
    Key pins;
    bool ok = key.create(HKEY_CLASSES_ROOT, path) && key.set("FriendlyName", narrow(name)) &&
              key.set("CLSID", guid_text(filter)) && key.set("Merit", record->dwMerit) &&
              pins.create(key.get(), "Pins");
    for (ULONG i = 0; ok && i < record->cPins; ++i) {
        ok = write_pin(pins, i, record->rgPins[i]);
    }
    return ok ? S_OK : E_FAIL;
}

STDMETHODIMP FilterMapper::EnumMatchingFilters(IEnumMoniker** filters, DWORD, BOOL, DWORD, BOOL,
                                               DWORD, const GUID*, const REGPINMEDIUM*,
                                               const CLSID*, BOOL, BOOL, DWORD, const GUID*,
                                               const REGPINMEDIUM*, const CLSID*) {
    if (filters != nullptr) {
        *filters = nullptr;
    }
    return E_NOTIMPL;
}

std::vector<RegisteredFilter> registered_filters(const CLSID& category) {
    std::vector<RegisteredFilter> filters;
    Key instances;
    if (!instances.open(HKEY_CLASSES_ROOT, "CLSID\\" + guid_text(category) + "\\Instance")) {
        return filters;
    }
    for (const std::string& instance : instances.children()) {
        Key key;
        if (!key.open(instances.get(), instance)) {
            continue;
        }
        RegisteredFilter filter{guid_from_text(key.text("CLSID")),
                                widen(key.text("FriendlyName")),
                                key.number("Merit"),
                                {}};
        Key pins;
        if (pins.open(key.get(), "Pins")) {
            for (const std::string& index : pins.children()) {
                Key pin;
                if (pin.open(pins.get(), index)) {
                    filter.pins.push_back(read_pin(pin));
                }
            }
        }
        filters.push_back(std::move(filter));
    }
    return filters;
}

} // namespace comshim
