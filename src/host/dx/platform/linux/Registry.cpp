#include "host/dx/platform/linux/Registry.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <vector>

// An open key: its full path from the root, e.g. "HKEY_CLASSES_ROOT\CLSID".
struct HKEY__ {
    std::string path;
};

namespace {

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
    }
};

struct Value {
    DWORD type;
    std::vector<BYTE> data;
};
using Values = std::map<std::string, Value, CaseLess>;
using Keys = std::map<std::string, Values, CaseLess>;

std::mutex& store_mutex() {
    static std::mutex mutex;
    return mutex;
}

// File format: a line "[full key path]" opens a key; each following line
// "name<TAB>type<TAB>hex bytes" is one of its values (an empty name is the default).
Keys load(const std::string& file) {
    Keys keys;
    std::ifstream in(file);
    std::string line;
    Values* current = nullptr;
    while (std::getline(in, line)) {
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = &keys[line.substr(1, line.size() - 2)];
            continue;
        }
        const auto tab1 = line.find('\t');
        const auto tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (current == nullptr || tab2 == std::string::npos) {
            continue;
        }
        Value value{static_cast<DWORD>(std::strtoul(line.c_str() + tab1 + 1, nullptr, 10)), {}};
        for (std::size_t i = tab2 + 1; i + 1 < line.size(); i += 2) {
            value.data.push_back(
                static_cast<BYTE>(std::strtoul(line.substr(i, 2).c_str(), nullptr, 16)));
        }
        (*current)[line.substr(0, tab1)] = std::move(value);
    }
    return keys;
}

bool save(const std::string& file, const Keys& keys) {
    std::error_code ignored;
    const std::filesystem::path path(file);
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ignored);
    }
    std::ostringstream out;
    static const char hex[] = "0123456789abcdef";
    for (const auto& [name, values] : keys) {
        out << '[' << name << "]\n";
        for (const auto& [value_name, value] : values) {
            out << value_name << '\t' << value.type << '\t';
            for (BYTE b : value.data) {
                out << hex[b >> 4] << hex[b & 15];
            }
            out << '\n';
        }
    }
    std::ofstream file_out(file, std::ios::trunc);
    file_out << out.str();
    return static_cast<bool>(file_out);
}

bool is_root(HKEY key) {
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE;
}

std::string key_path(HKEY key) {
    if (key == HKEY_CLASSES_ROOT) {
        return "HKEY_CLASSES_ROOT";
    }
    if (key == HKEY_CURRENT_USER) {
        return "HKEY_CURRENT_USER";
    }
    if (key == HKEY_LOCAL_MACHINE) {
        return "HKEY_LOCAL_MACHINE";
    }
    return key->path;
}

std::string child_path(HKEY parent, LPCSTR sub_key) {
    std::string path = key_path(parent);
    if (sub_key != nullptr && *sub_key != '\0') {
        path += '\\';
        path += sub_key;
    }
    return path;
}

bool is_below(const std::string& path, const std::string& ancestor) {
    return path.size() > ancestor.size() && path[ancestor.size()] == '\\' &&
           !CaseLess()(path.substr(0, ancestor.size()), ancestor) &&
           !CaseLess()(ancestor, path.substr(0, ancestor.size()));
}

LSTATUS open_result(const std::string& path, PHKEY result) {
    *result = new HKEY__{path};
    return ERROR_SUCCESS;
}

} // namespace

LSTATUS RegCreateKeyExA(HKEY parent, LPCSTR sub_key, DWORD, LPSTR, DWORD, REGSAM,
                        LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    if (parent == nullptr || result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::string path = child_path(parent, sub_key);
    std::lock_guard<std::mutex> lock(store_mutex());
    const std::string file = comshim::registry_file();
    Keys keys = load(file);
    const bool existed = keys.count(path) != 0;
    // Every ancestor exists as a key of its own, so that enumeration finds it.
    for (auto slash = path.find('\\'); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        keys[path.substr(0, slash)];
    }
    keys[path];
    if (!existed && !save(file, keys)) {
        return ERROR_ACCESS_DENIED;
    }
    if (disposition != nullptr) {
        *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    }
    return open_result(path, result);
}

LSTATUS RegOpenKeyExA(HKEY parent, LPCSTR sub_key, DWORD, REGSAM, PHKEY result) {
    if (parent == nullptr || result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::string path = child_path(parent, sub_key);
    std::lock_guard<std::mutex> lock(store_mutex());
    if (load(comshim::registry_file()).count(path) == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    return open_result(path, result);
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    if (key == nullptr || (data == nullptr && size != 0)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard<std::mutex> lock(store_mutex());
    const std::string file = comshim::registry_file();
    Keys keys = load(file);
    const auto found = keys.find(key_path(key));
    if (found == keys.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    found->second[name != nullptr ? name : ""] = Value{type, std::vector<BYTE>(data, data + size)};
    return save(file, keys) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (key == nullptr || (data != nullptr && size == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard<std::mutex> lock(store_mutex());
    const Keys keys = load(comshim::registry_file());
    const auto found_key = keys.find(key_path(key));
    if (found_key == keys.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const auto found = found_key->second.find(name != nullptr ? name : "");
    if (found == found_key->second.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const Value& value = found->second;
    if (type != nullptr) {
        *type = value.type;
    }
    const DWORD needed = static_cast<DWORD>(value.data.size());
    LSTATUS status = ERROR_SUCCESS;
    if (data != nullptr) {
        if (*size < needed) {
            status = ERROR_MORE_DATA;
        } else {
            std::copy(value.data.begin(), value.data.end(), data);
        }
    }
    if (size != nullptr) {
        *size = needed;
    }
    return status;
}

LSTATUS RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD name_length, LPDWORD, LPSTR,
                      LPDWORD, FILETIME*) {
    if (key == nullptr || name == nullptr || name_length == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::string parent = key_path(key);
    std::lock_guard<std::mutex> lock(store_mutex());
    const Keys keys = load(comshim::registry_file());
    DWORD seen = 0;
    for (const auto& entry : keys) {
        const std::string& path = entry.first;
        if (!is_below(path, parent) || path.find('\\', parent.size() + 1) != std::string::npos) {
            continue;
        }
        if (seen++ != index) {
            continue;
        }
        const std::string child = path.substr(parent.size() + 1);
        if (*name_length <= child.size()) {
            return ERROR_MORE_DATA;
        }
        std::copy(child.begin(), child.end(), name);
        name[child.size()] = '\0';
        *name_length = static_cast<DWORD>(child.size());
        return ERROR_SUCCESS;
    }
    return ERROR_NO_MORE_ITEMS;
}

LSTATUS RegDeleteTreeA(HKEY key, LPCSTR sub_key) {
    if (key == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::string path = child_path(key, sub_key);
    std::lock_guard<std::mutex> lock(store_mutex());
    const std::string file = comshim::registry_file();
    Keys keys = load(file);
    if (keys.count(path) == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    for (auto it = keys.begin(); it != keys.end();) {
        const bool doomed = is_below(it->first, path) ||
                            (sub_key != nullptr && *sub_key != '\0' &&
                             !CaseLess()(it->first, path) && !CaseLess()(path, it->first));
        it = doomed ? keys.erase(it) : std::next(it);
    }
    // Without a sub key, the key itself stays and only loses its values and sub keys.
    if (sub_key == nullptr || *sub_key == '\0') {
        keys[path].clear();
    }
    return save(file, keys) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LSTATUS RegCloseKey(HKEY key) {
    if (key == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if (!is_root(key)) {
        delete key;
    }
    return ERROR_SUCCESS;
}

namespace comshim {

std::string registry_file() {
    if (const char* file = std::getenv("QUEVRIN_REGISTRY"); file != nullptr && *file != '\0') {
        return file;
    }
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
        return std::string(config) + "/quevrin/registry";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.config/quevrin/registry";
}

} // namespace comshim
