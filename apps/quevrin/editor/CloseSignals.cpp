#include "CloseSignals.h"

#include "PluginModule.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// [0] the loop's pipe, [1] the watcher's: each gets a byte per signal.
int pipes[2][2] = {{-1, -1}, {-1, -1}};

extern "C" void on_close_signal(int) {
    const char byte = 1;
    for (const auto& p : pipes)
        [[maybe_unused]] const ssize_t n = write(p[1], &byte, 1);
}

// The parent of process `pid`, from /proc; -1 when it cannot be read.
long parent_of(const char* pid) {
    const std::string path = std::string("/proc/") + pid + "/stat";
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (f == nullptr)
        return -1;
    char line[512] = {};
    const std::size_t n = std::fread(line, 1, sizeof line - 1, f);
    std::fclose(f);
    line[n] = '\0';
    // "pid (name) state ppid ...": the name may hold spaces and parentheses.
    const char* close = std::strrchr(line, ')');
    char state = 0;
    long parent = -1;
    if (close == nullptr || std::sscanf(close + 1, " %c %ld", &state, &parent) != 2)
        return -1;
    return parent;
}

// Every process descended from this one: the dialogs and what they started.
std::vector<pid_t> descendants() {
    std::multimap<long, pid_t> children;
    if (DIR* proc = opendir("/proc")) {
        while (const dirent* entry = readdir(proc)) {
            char* end = nullptr;
            const long pid = std::strtol(entry->d_name, &end, 10);
            if (*end == '\0' && pid > 0)
                children.emplace(parent_of(entry->d_name), pid_t(pid));
        }
        closedir(proc);
    }
    std::vector<pid_t> found;
    std::vector<pid_t> parents{getpid()};
    while (!parents.empty()) {
        const pid_t parent = parents.back();
        parents.pop_back();
        const auto [from, to] = children.equal_range(parent);
        for (auto c = from; c != to; ++c) {
            found.push_back(c->second);
            parents.push_back(c->second);
        }
    }
    return found;
}

} // namespace

CloseSignals::CloseSignals() {
    for (auto& p : pipes)
        if (p[0] < 0 && pipe2(p, O_CLOEXEC | O_NONBLOCK) != 0)
            throw InternalError("no pipe for the close signals");
    // The watcher blocks on its pipe.
    fcntl(pipes[1][0], F_SETFL, 0);
    struct sigaction action {};
    action.sa_handler = on_close_signal;
    sigemptyset(&action.sa_mask);
    for (const int signo : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signo, &action, nullptr);
    watcher_ = std::thread(&CloseSignals::end_dialogs_on_signal, this);
}

CloseSignals::~CloseSignals() {
    // Wakes the watcher as a signal would; the dialogs are over by now.
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = write(pipes[1][1], &byte, 1);
    watcher_.join();
}

int CloseSignals::fd() const {
    return pipes[0][0];
}

void CloseSignals::end_dialogs_on_signal() const {
    char byte = 0;
    ssize_t n = 0;
    do
        n = read(pipes[1][0], &byte, 1);
    while (n < 0 && errno == EINTR);
    if (n <= 0 || byte == 0)
        return;
    for (const pid_t child : descendants())
        kill(child, SIGTERM);
}
