#pragma once

#include <string>
#include <vector>

// Where one output of a command goes. A regular file (or one that does not
// exist yet) is written through a temporary file beside it, renamed over it
// when complete, so no half-written output is ever left under its name; a
// symbolic link is followed and its target written that way. For a FIFO, a
// device or "-" (standard output), a stream, the temporary file is made in
// the temporary folder and copied to the stream by commit().
//
// The temporary file is created at once, so a path that cannot be written
// fails before any work is done. Until commit() or destruction it is also
// removed when SIGINT, SIGTERM, SIGHUP or SIGPIPE ends the program, which then exits
// with 128 plus the signal's number.
class OutputFile {
public:
    // Throws UsageError naming `path` when it cannot be written.
    explicit OutputFile(const std::string& path);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // Removes the temporary file unless committed.
    ~OutputFile();

    const std::string& path() const { return path_; }
    bool is_stream() const { return stream_; }
    // The temporary file, to be written before commit().
    const std::string& write_path() const { return write_path_; }
    // Writes `bytes` whole to write_path(); false when it could not.
    bool write(const std::vector<unsigned char>& bytes) const;
    // Gives the written file the output's name, or copies it to the stream;
    // throws UsageError when it cannot.
    void commit();

    // Installs the signal handlers that remove pending temporary files.
    static void remove_on_signals();

private:
    bool copy_to_stream() const;

    std::string path_;
    std::string target_;
    std::string write_path_;
    bool stream_ = false;
    bool committed_ = false;
    int slot_ = -1; // the temporary file's place in the signal handler's list
};
