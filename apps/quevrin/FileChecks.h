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

// No two of `files`, `state` and `save_state` are the same existing file
// (device and inode compared, so links and other spellings of one file are
// caught), except the state and the saved state: a session continued in one
// file reads it at the start and renames the new state over it at the end.
void refuse_same_files(const std::vector<FileRole>& files, const std::string& state,
                       const std::string& save_state);
