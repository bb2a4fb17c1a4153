#pragma once

// Programs the end-to-end tests start beside themselves: a process in the
// background, a virtual X server of its own, and polling for a condition.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace test {

inline bool on_path(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

// A program started in the background, its output in a file; stopped with
// SIGTERM (then SIGKILL) when the object goes, whatever the test did.
class Background {
public:
    Background(const std::vector<std::string>& argv, const std::vector<std::string>& env,
               const std::string& log, int keep_fd = -1) {
        pid_ = fork();
        if (pid_ == 0) {
            std::FILE* out = std::fopen(log.c_str(), "w");
            if (out != nullptr) {
                dup2(fileno(out), 1);
                dup2(fileno(out), 2);
            }
            for (const std::string& e : env) {
                putenv(const_cast<char*>(e.c_str()));
            }
            for (int fd = 3; fd < 256; ++fd) {
                if (fd != keep_fd) {
                    close(fd);
                }
            }
            std::vector<char*> args;
            for (const std::string& a : argv) {
                args.push_back(const_cast<char*>(a.c_str()));
            }
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
    }
    ~Background() { stop(); }
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    pid_t pid() const { return pid_; }
    // Sends signo (0: none) and waits up to seconds for the end; the exit
    // status, 128 plus the signal's number for a death by signal, or -1 when
    // it had to be killed.
    int end(int signo, double seconds) {
        if (pid_ > 0 && signo != 0) {
            kill(pid_, signo);
        }
        for (int i = 0; i < int(seconds * 100) && !reaped(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!reaped()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            status_ = -1;
            pid_ = 0;
        }
        return status_;
    }
    // The exit status after a SIGTERM, or -1 when it had to be killed.
    int stop() { return end(SIGTERM, 5.0); }

private:
    // True once the child is gone (and then never looks again).
    bool reaped() {
        if (pid_ <= 0) {
            return true;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) != pid_) {
            return false;
        }
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = 0;
        return true;
    }

    pid_t pid_ = 0;
    int status_ = -1;
};

// Polls until f gives a non-empty answer or seconds have passed.
template <typename F>
std::string wait_for(double seconds, F f) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        std::string s = f();
        if (!s.empty() || std::chrono::steady_clock::now() > end) {
            return s;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

// A virtual X server of its own, on the first free number Xvfb finds, its
// output in `log`; `display` becomes its name (":N"), empty when it gave none.
inline std::unique_ptr<Background> start_display(const std::string& log, std::string& display) {
    int fds[2];
    if (pipe(fds) != 0) {
        return nullptr;
    }
    auto x = std::make_unique<Background>(
        std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp",
                                 "-screen", "0", "1024x768x24"},
        std::vector<std::string>{}, log, fds[1]);
    close(fds[1]);
    // Xvfb writes the number, then a newline, when it is ready: read both,
    // or its second write would fail and end it.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c = 0;
    while (number.find('\n') == std::string::npos && poll(&p, 1, 10000) == 1 &&
           read(fds[0], &c, 1) == 1) {
        number += c;
    }
    if (number.find('\n') != std::string::npos) {
        display = ":" + number.substr(0, number.find('\n'));
    }
    close(fds[0]);
    return x;
}

} // namespace test
