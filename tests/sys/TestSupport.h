#pragma once

#include "support/ScopedEnv.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh temporary directory, removed with its contents at scope end.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quevrin-XXXXXX").string();
        path = mkdtemp(&pattern[0]) != nullptr ? pattern : std::string();
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // An executable shell script standing in for a program on PATH.
    void add_script(const std::string& name, const std::string& body) const {
        std::ofstream(path + "/" + name) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(path + "/" + name, std::filesystem::perms::owner_all);
    }

    std::string read(const std::string& name) const { return read_file(path + "/" + name); }

    std::string path;
};
