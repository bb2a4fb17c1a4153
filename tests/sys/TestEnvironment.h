#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets (or with no value, removes) an environment variable for the
// lifetime of the object, then puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name(name) {
        if (const char* old = std::getenv(name)) {
            saved = old;
        }
        apply(value);
    }
    ~ScopedEnv() { apply(saved); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void apply(const std::optional<std::string>& value) {
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }

    const char* name;
    std::optional<std::string> saved;
};
