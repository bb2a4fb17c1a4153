#include "AudioOutput.h"
#include "Commands.h"
#include "FileChecks.h"
#include "FrameRing.h"
#include "HostWindow.h"
#include "LoopPlayer.h"
#include "OutputFile.h"
#include "PluginModule.h"
#include "ProgramSetup.h"

#include "mppi/GuiInterface.h"
#include "pengui/WindowInterface.h"
#include "pengui/x11/WindowX11.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

// Frames between the plug-in and the audio output: about 85 ms at 48 kHz,
// room for the streaming thread's scheduling, little enough that a turned
// knob is heard at once.
constexpr std::size_t ring_frames = 4096;

// SIGINT and SIGTERM close the window as its close button does; the handler
// only writes to this pipe, which the loop waits on.
int close_pipe[2] = {-1, -1};

void request_close(int) {
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = write(close_pipe[1], &byte, 1);
}

void close_on_signals() {
    if (pipe2(close_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw InternalError("no pipe for the close signals");
    struct sigaction action {};
    action.sa_handler = request_close;
    sigemptyset(&action.sa_mask);
    for (const int signo : {SIGINT, SIGTERM})
        sigaction(signo, &action, nullptr);
}

// Plays the input while the editor runs, from the start of the loop to its end.
class Playback {
public:
    Playback(PluginModule& module, const std::string& input, const std::string& device)
        : player_(module, input, ring_), output_(ring_, player_.rate(), device) {}
    ~Playback() { stop(); }

    void start(bool quiet) {
        player_.start();
        // The output starts once the ring is half full, or the first reads
        // would find it empty.
        for (int i = 0; i < 1000 && ring_.available() < ring_.capacity() / 2 && !player_.failed();
             ++i)
            usleep(1000);
        if (player_.failed())
            throw InternalError("the stream broke off before it played");
        output_.start();
        if (!quiet)
            std::fprintf(stderr, "latency: %.1f ms (output %.1f ms on %s, ring %.1f ms)\n",
                         1000.0 * (output_.latency() + double(ring_.capacity()) / player_.rate()),
                         1000.0 * output_.latency(), output_.description().c_str(),
                         1000.0 * double(ring_.capacity()) / player_.rate());
    }
    void stop() {
        output_.stop();
        player_.stop();
    }
    long long underruns() const { return output_.underruns(); }
    bool failed() const { return player_.failed(); }

private:
    FrameRing ring_{ring_frames};
    LoopPlayer player_;
    AudioOutput output_;
};

} // namespace

int editor_command(const Options& o) {
    if (o.list_audio_devices) {
        for (const std::string& line : AudioOutput::list_devices())
            std::printf("%s\n", line.c_str());
        return 0;
    }
    if (o.operands.size() > 1)
        throw UsageError("editor takes at most one INPUT file; see quevrin editor --help");
    const std::string input = o.operands.empty() ? std::string() : o.operands[0];
    if (input.empty() && !o.audio.empty())
        throw UsageError("--audio needs an INPUT file to play");
    refuse_same_files({{"input", input},
                       {"--state file", o.state},
                       {"--save-state file", o.save_state},
                       {"--bank file", o.bank}});
    for (const std::string& path : {input, o.state, o.bank})
        if (!path.empty())
            check_readable(path);
    std::optional<OutputFile> state_output;
    if (!o.save_state.empty())
        state_output.emplace(o.save_state);

    close_on_signals();
    const std::unique_ptr<HostWindow> window = HostWindow::open("Quevrin");
    if (!window)
        throw UsageError("no X display answers (is DISPLAY set?); the editor needs one");

    PluginModule module(module_path(o));
    configure(module, o);
    pengui::WindowInterface& editor_window = module.editor_window();
    if (editor_window.event_fd() < 0)
        throw UsageError("the plug-in module could not reach the X display");
    std::optional<Playback> playback;
    if (!input.empty())
        playback.emplace(module, input, o.audio);

    int width = 0;
    int height = 0;
    module.editor().get_size(width, height);
    window->show(width, height);
    module.editor().open(pengui::WindowX11::parent_handle(window->id()));
    if (playback)
        playback->start(o.quiet);

    pollfd waits[3] = {{window->fd(), POLLIN, 0},
                       {editor_window.event_fd(), POLLIN, 0},
                       {close_pipe[0], POLLIN, 0}};
    int deadline = editor_window.dispatch_events();
    while (!window->dispatch() && waits[2].revents == 0) {
        poll(waits, 3, deadline);
        deadline = editor_window.dispatch_events();
    }

    if (playback)
        playback->stop();
    module.editor().close();
    if (playback && !o.quiet)
        std::fprintf(stderr, "underruns: %lld\n", playback->underruns());
    if (playback && playback->failed())
        throw UsageError(input + ": the stream broke off while it played");
    if (state_output) {
        if (!state_output->write(module.save_state()))
            throw UsageError(o.save_state + ": cannot be written completely");
        state_output->commit();
    }
    return 0;
}
