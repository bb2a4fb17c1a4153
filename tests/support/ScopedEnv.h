#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace test {

// Sets (or with no value removes) an environment variable for its lifetime,
// so a test that fails half-way leaves the environment as it found it.
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
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }

    const char* name;
    std::optional<std::string> saved;
};

} // namespace test
