#pragma once

#include <thread>

// The signals that end the editor as its close button does: SIGINT, SIGTERM
// and SIGHUP (the terminal closed). Their handler only writes to a pipe that
// the program's loop waits on. A modal dialog (a child process the editor
// waits for) would hold the loop until the user answers it, so a thread of
// its own ends the program's child processes at the first of these signals.
class CloseSignals {
public:
    // [editor thread] Installs the handlers and starts the thread; throws
    // InternalError when it cannot.
    CloseSignals();
    CloseSignals(const CloseSignals&) = delete;
    CloseSignals& operator=(const CloseSignals&) = delete;
    // [editor thread] Ends the thread; the handlers stay.
    ~CloseSignals();

    // [any thread] Readable once a signal came.
    int fd() const;

private:
    // [any thread]
    void end_dialogs_on_signal() const;

    std::thread watcher_;
};
