#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// A fresh directory under the system's temporary folder, removed with its
// contents at the end of the scope.
class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quevrin-sys-XXXXXX").string();
        path = mkdtemp(&pattern[0]) != nullptr ? pattern : std::string();
    }
    ~TempDir() {
        if (!path.empty()) {
            std::filesystem::remove_all(path);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Writes an executable shell script into the directory.
    void add_script(const std::string& name, const std::string& body) const {
        const std::string file = path + "/" + name;
        std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(file, std::filesystem::perms::owner_all);
    }

    std::string path;
};
