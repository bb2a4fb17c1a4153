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
// A path that cannot be written fails at construction, before any work is
// done: the temporary file is created at once, or, for an output written
// only at the end (a state saved when a session closes), created and removed
// again as a check and made anew by write(). Until commit() or destruction
// it is also removed when SIGINT, SIGTERM, SIGHUP or SIGPIPE ends the
// program, which then exits with 128 plus the signal's number.
class OutputFile {
public:
    enum class Create { at_once, on_write };

    // Throws UsageError naming `path` when it cannot be written.
    explicit OutputFile(const std::string& path, Create create = Create::at_once);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // Removes the temporary file unless committed.
    ~OutputFile();

    const std::string& path() const { return path_; }
    bool is_stream() const { return stream_; }
    // The temporary file, to be written before commit() (Create::at_once).
    const std::string& write_path() const { return write_path_; }
    // Writes `bytes` whole to the temporary file, creating it if need be;
    // throws UsageError naming the file and the system's reason when it cannot.
    void write(const std::vector<unsigned char>& bytes);
    // Gives the written file the output's name, or copies it to the stream;
    // throws UsageError when it cannot.
    void commit();

    // Installs the signal handlers that remove pending temporary files.
    static void remove_on_signals();

private:
    void create();
    // 0, or the errno of the first read or write that failed.
    int copy_to_stream() const;

    std::string path_;
    std::string target_;
    std::string write_path_;
    int replaced_mode_ = -1; // the permissions of the file replaced, if any
    bool stream_ = false;
    bool created_ = false;
    bool committed_ = false;
    int slot_ = -1; // the temporary file's place in the signal handler's list
};
