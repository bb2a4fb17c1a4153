#pragma once

#include <string>
#include <vector>

// Checks of the files a command names, made before any of them is read or
// written. Each throws UsageError with one sentence naming the file.

// `path` is a file that can be read ("-", standard input, always passes).
void check_readable(const std::string& path);

// A file named on the command line and the part it plays ("input", "--state").
struct FileRole {
    std::string role;
    std::string path;
};

// No two of `files` are the same existing file (device and inode compared, so
// links and other spellings of one file are caught).
void refuse_same_files(const std::vector<FileRole>& files);
